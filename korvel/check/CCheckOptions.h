#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

namespace KV {

/// What one run of korvel-plugincheck does. Strictness picks the defaults; the other options
/// override single figures of it.
struct CCheckOptions
{
    static constexpr int kMinStrictness = 1;
    static constexpr int kMaxStrictness = 10;

    int strictness = 3;
    /// Seeds of random sessions, starting at firstSeed.
    int seeds = 0;
    std::uint32_t firstSeed = 1;
    /// Events per session.
    int events = 0;
    /// How many times the whole set of sessions runs; with randomise each run draws new seeds.
    int repeat = 1;
    bool randomise = false;
    /// The tree model of the link-to-sub-node dialog is watched by QAbstractItemModelTester.
    bool watchTreeModel = false;
    /// Host calls fail with scribbled out-values as well as with untouched ones.
    bool scribbleFaults = false;
    /// Create, load, initialise, run, destroy and unload cycles; 0 for none.
    int loadCycles = 0;
    /// Corrupted scene files offered to the scene loader; 0 for none.
    int sceneFileVariants = 0;
    /// Prints every event as it happens, to follow a failing seed.
    bool trace = false;
    QString pluginFile;

    /// The defaults of a strictness level (clamped to 1..10).
    static CCheckOptions ForStrictness(int strictness);

    /// Reads the command line (arguments without the program name). On error returns false
    /// and sets `error` to a message for the user.
    static bool Parse(const QStringList& arguments, CCheckOptions* options, QString* error);
    static QString Usage();
};

} // namespace KV
