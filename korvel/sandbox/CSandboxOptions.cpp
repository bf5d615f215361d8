#include "CSandboxOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QtGlobal>

#include <cstring>

namespace KV {

CSandboxOptions::EParse CSandboxOptions::Parse(const QStringList& arguments,
                                               CSandboxOptions& options, QString& message)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("The stand-in Korvel host: loads the linkage plug-in and gives it a scene "
                       "to work on."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption plugin(
        QStringLiteral("plugin"),
        QStringLiteral("Load the plug-in library PATH, or every plug-in library in the folder "
                       "PATH, instead of the plugins folder beside the application."),
        QStringLiteral("PATH"));
    const QCommandLineOption scene(
        QStringLiteral("scene"), QStringLiteral("Open the scene FILE instead of the sample scene."),
        QStringLiteral("FILE"));
    const QCommandLineOption settings(
        QStringLiteral("settings"),
        QStringLiteral("Keep hot keys and recent files in the INI file FILE."),
        QStringLiteral("FILE"));
    const QCommandLineOption demo(
        QStringLiteral("demo"),
        QStringLiteral("Play the guided tour on the sample scene, then quit."));
    const QCommandLineOption step(QStringLiteral("demo-step"),
                                  QStringLiteral("Wait MS milliseconds between two demo steps."),
                                  QStringLiteral("MS"));
    const QCommandLineOption importFile(
        QStringLiteral("import"),
        QStringLiteral("Import the 3D file FILE (FBX, glTF, Collada, BVH, DirectX and whatever "
                       "else Assimp reads), into a new scene unless --scene is given."),
        QStringLiteral("FILE"));
    const QCommandLineOption saveScene(
        QStringLiteral("save-scene"),
        QStringLiteral("Once started, save the scene to FILE and quit."), QStringLiteral("FILE"));
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral("Save a PNG picture of the main window to FILE when the demo ends, or "
                       "else once started, and quit."),
        QStringLiteral("FILE"));
    const QCommandLineOption check(
        QStringLiteral("check-plugins"),
        QStringLiteral("Load the plug-ins, report each, and quit: exit code 0 when every one "
                       "started."));
    parser.addOptions(
        {plugin, scene, settings, demo, step, importFile, saveScene, screenshot, check});

    if (!parser.parse(arguments)) {
        message = parser.errorText();
        return EParse::Error;
    }
    if (parser.isSet(help)) {
        message = parser.helpText();
        return EParse::ShowHelp;
    }
    if (!parser.positionalArguments().isEmpty()) {
        message =
            QStringLiteral("Unexpected argument: %1").arg(parser.positionalArguments().first());
        return EParse::Error;
    }
    options.pluginPath = parser.value(plugin);
    options.scenePath = parser.value(scene);
    options.settingsPath = parser.value(settings);
    options.demo = parser.isSet(demo);
    options.checkPlugins = parser.isSet(check);
    options.importPath = parser.value(importFile);
    options.saveScenePath = parser.value(saveScene);
    options.screenshotPath = parser.value(screenshot);
    if (parser.isSet(step)) {
        bool ok = false;
        options.demoStepMs = parser.value(step).toInt(&ok);
        if (!ok || options.demoStepMs < 0) {
            message = QStringLiteral("--demo-step needs a number of milliseconds, not '%1'")
                          .arg(parser.value(step));
            return EParse::Error;
        }
    }
    if (options.demo && (!options.scenePath.isEmpty() || !options.importPath.isEmpty() ||
                         !options.saveScenePath.isEmpty())) {
        message = QStringLiteral(
            "--demo plays on the sample scene: leave out --scene, --import and --save-scene");
        return EParse::Error;
    }
    return EParse::Run;
}

QStringList CSandboxOptions::TakeOwnArguments(int& argc, char** argv)
{
    QStringList taken;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--plugin") == 0) {
            taken << QStringLiteral("--plugin");
            if (i + 1 < argc)
                taken << QString::fromLocal8Bit(argv[++i]);
        } else if (std::strncmp(argv[i], "--plugin=", 9) == 0) {
            taken << QString::fromLocal8Bit(argv[i]);
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    argv[argc] = nullptr;
    return taken;
}

QString CSandboxOptions::DefaultPluginFolder()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("plugins"));
}

bool CSandboxOptions::ChoosePlatform(int argc, char** argv, QString& message)
{
    bool runsHeadless = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strncmp(argv[i], "-platform=", 10) == 0)
            return true; // the caller chose
        for (const char* headless :
             {"--demo", "-demo", "--check-plugins", "-check-plugins", "--save-scene", "-save-scene",
              "--screenshot", "-screenshot"}) {
            if (std::strcmp(argv[i], headless) == 0)
                runsHeadless = true;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
            runsHeadless = true; // the help text needs no screen either
    }
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
        !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return true;
    if (runsHeadless) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return true;
    }
    message =
        QStringLiteral("korvel-sandbox: there is no display. Run the guided tour headless with\n"
                       "  korvel-sandbox --demo --screenshot demo.png\n"
                       "import a file headless with\n"
                       "  korvel-sandbox --import FILE --save-scene scene.json\n"
                       "or choose a platform yourself, for example -platform offscreen.");
    return false;
}

} // namespace KV
