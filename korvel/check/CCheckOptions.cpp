#include "CCheckOptions.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QRandomGenerator>

#include <algorithm>

namespace KV {

namespace {

struct CStrictnessLevel
{
    int seeds;
    int events;
    bool watchTreeModel;
    bool scribbleFaults;
    int loadCycles;
    int sceneFileVariants;
};

// Level 5 is what CI runs in the sanitizer build, so it stays within a few minutes there;
// level 10 is the release gate of the plug-in.
const CStrictnessLevel kLevels[] = {
    {5, 60, false, false, 0, 0},          // 1
    {10, 120, false, false, 0, 0},        // 2
    {20, 200, true, false, 0, 100},       // 3
    {40, 300, true, true, 10, 500},       // 4
    {60, 400, true, true, 100, 1000},     // 5
    {150, 600, true, true, 100, 2000},    // 6
    {300, 1000, true, true, 100, 4000},   // 7
    {500, 1500, true, true, 100, 6000},   // 8
    {750, 2000, true, true, 100, 8000},   // 9
    {1000, 2000, true, true, 100, 10000}, // 10
};

bool ReadCount(const QCommandLineParser& parser, const QCommandLineOption& option, int minimum,
               int* value, QString* error)
{
    if (!parser.isSet(option))
        return true;
    bool ok = false;
    const int number = parser.value(option).toInt(&ok);
    if (!ok || number < minimum) {
        *error = QStringLiteral("--%1 needs a whole number of at least %2, not \"%3\"")
                     .arg(option.names().constFirst())
                     .arg(minimum)
                     .arg(parser.value(option));
        return false;
    }
    *value = number;
    return true;
}

} // namespace

CCheckOptions CCheckOptions::ForStrictness(int strictness)
{
    CCheckOptions options;
    options.strictness = std::clamp(strictness, kMinStrictness, kMaxStrictness);
    const CStrictnessLevel& level = kLevels[options.strictness - 1];
    options.seeds = level.seeds;
    options.events = level.events;
    options.watchTreeModel = level.watchTreeModel;
    options.scribbleFaults = level.scribbleFaults;
    options.loadCycles = level.loadCycles;
    options.sceneFileVariants = level.sceneFileVariants;
    return options;
}

QString CCheckOptions::Usage()
{
    return QStringLiteral(
        "usage: korvel-plugincheck [--strictness 1..10] [--seeds N] [--seed S] [--events N]\n"
        "                          [--repeat N] [--randomise] [--load-cycles N]\n"
        "                          [--scene-files N] [--trace] PLUGIN_FILE\n");
}

bool CCheckOptions::Parse(const QStringList& arguments, CCheckOptions* options, QString* error)
{
    QCommandLineParser parser;
    const QCommandLineOption strictness(QStringLiteral("strictness"),
                                        QStringLiteral("How hard to check, 1 to 10."),
                                        QStringLiteral("level"));
    const QCommandLineOption seeds(
        QStringLiteral("seeds"), QStringLiteral("Number of random sessions."), QStringLiteral("N"));
    const QCommandLineOption seed(
        QStringLiteral("seed"),
        QStringLiteral("Run the session of this seed, or with --seeds the N seeds from it."),
        QStringLiteral("S"));
    const QCommandLineOption events(QStringLiteral("events"), QStringLiteral("Events per session."),
                                    QStringLiteral("N"));
    const QCommandLineOption repeat(QStringLiteral("repeat"),
                                    QStringLiteral("Run the sessions this many times."),
                                    QStringLiteral("N"));
    const QCommandLineOption randomise(QStringLiteral("randomise"),
                                       QStringLiteral("Draw the seeds at random."));
    const QCommandLineOption loadCycles(QStringLiteral("load-cycles"),
                                        QStringLiteral("Load and unload cycles."),
                                        QStringLiteral("N"));
    const QCommandLineOption sceneFiles(QStringLiteral("scene-files"),
                                        QStringLiteral("Corrupted scene files to load."),
                                        QStringLiteral("N"));
    const QCommandLineOption traceOption(QStringLiteral("trace"),
                                         QStringLiteral("Print every event as it happens."));
    parser.addOptions(
        {strictness, seeds, seed, events, repeat, randomise, loadCycles, sceneFiles, traceOption});
    parser.addPositionalArgument(QStringLiteral("PLUGIN_FILE"),
                                 QStringLiteral("The plug-in library to check."));

    if (!parser.parse(QStringList{QStringLiteral("korvel-plugincheck")} + arguments)) {
        *error = parser.errorText();
        return false;
    }
    int level = 3;
    if (!ReadCount(parser, strictness, kMinStrictness, &level, error))
        return false;
    if (level > kMaxStrictness) {
        *error = QStringLiteral("--strictness goes from 1 to 10, not %1").arg(level);
        return false;
    }
    CCheckOptions result = ForStrictness(level);
    if (!ReadCount(parser, seeds, 1, &result.seeds, error) ||
        !ReadCount(parser, events, 1, &result.events, error) ||
        !ReadCount(parser, repeat, 1, &result.repeat, error) ||
        !ReadCount(parser, loadCycles, 0, &result.loadCycles, error) ||
        !ReadCount(parser, sceneFiles, 0, &result.sceneFileVariants, error))
        return false;
    if (parser.isSet(seed)) {
        bool ok = false;
        const uint value = parser.value(seed).toUInt(&ok);
        if (!ok) {
            *error = QStringLiteral("--seed needs a whole number from 0 to 4294967295, not \"%1\"")
                         .arg(parser.value(seed));
            return false;
        }
        result.firstSeed = value;
        if (!parser.isSet(seeds))
            result.seeds = 1;
    }
    result.randomise = parser.isSet(randomise);
    result.trace = parser.isSet(traceOption);
    if (result.randomise && parser.isSet(seed)) {
        *error = QStringLiteral("--seed and --randomise exclude each other");
        return false;
    }
    if (result.randomise)
        result.firstSeed = QRandomGenerator::global()->generate();

    const QStringList files = parser.positionalArguments();
    if (files.size() != 1) {
        *error = files.isEmpty() ? QStringLiteral("no PLUGIN_FILE given")
                                 : QStringLiteral("only one PLUGIN_FILE at a time");
        return false;
    }
    result.pluginFile = files.constFirst();
    *options = result;
    return true;
}

} // namespace KV
