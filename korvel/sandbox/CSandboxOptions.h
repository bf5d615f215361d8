#pragma once

#include <QString>
#include <QStringList>

namespace KV {

/// What the sandbox was asked to do on its command line.
class CSandboxOptions
{
public:
    enum class EParse
    {
        Run,
        ShowHelp, // the help text is in the message
        Error,    // the message says what is wrong
    };

    /// A plug-in library, or a folder whose plug-in libraries are all loaded. Empty: the
    /// "plugins" folder beside the application.
    QString pluginPath;
    /// A scene file to open at start instead of the built-in sample scene.
    QString scenePath;
    /// An INI file for hot keys and recent files. Empty: the user's own settings.
    QString settingsPath;
    bool demo = false;
    /// Load the plug-ins, say how each went, and quit.
    bool checkPlugins = false;
    /// Milliseconds between two steps of the demo; negative: chosen by the platform.
    int demoStepMs = -1;
    /// A 3D file to import at start, into a new scene unless --scene names one.
    QString importPath;
    /// Where to save the scene once started (and the file imported); the sandbox then quits.
    QString saveScenePath;
    /// Where to save a picture of the main window: when the demo ends, or once started (and
    /// the file imported), after which the sandbox quits. Empty: no picture.
    QString screenshotPath;

    /// Whether the sandbox does its work at start and quits, as scripts use it.
    bool QuitsWhenStarted() const
    {
        return !demo && (!saveScenePath.isEmpty() || !screenshotPath.isEmpty());
    }

    /// Before QApplication exists: takes "--plugin PATH" and "--plugin=PATH" out of argv and
    /// returns them, because Qt would otherwise read them as its own "-plugin" option. Parse
    /// them with the rest afterwards.
    static QStringList TakeOwnArguments(int& argc, char** argv);

    static EParse Parse(const QStringList& arguments, CSandboxOptions& options, QString& message);

    /// The folder searched when no --plugin is given: "plugins" beside the application.
    static QString DefaultPluginFolder();

    /// Before QApplication exists: without a display, a demo, a plug-in check, or a run that
    /// saves a scene or a picture runs on the offscreen platform.
    /// Returns false, with the reason in `message`, when there is no display and nothing to run
    /// without one.
    static bool ChoosePlatform(int argc, char** argv, QString& message);
};

} // namespace KV
