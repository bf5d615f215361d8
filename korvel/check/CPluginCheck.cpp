#include "CPluginCheck.h"

#include "CCheckReport.h"
#include "CCrashNote.h"
#include "CHostWindow.h"
#include "CLoadCycleCheck.h"
#include "CMessageWatch.h"
#include "CPluginFileCheck.h"
#include "CPluginLoader.h"
#include "CSceneFileFuzzer.h"
#include "CSessionRunner.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QRegularExpression>

namespace KV {

namespace {

const QString kPluginArea = QStringLiteral("plug-in");

// Events of each load cycle's session: enough to open the dialog and run the commands.
constexpr int kLoadCycleEvents = 40;

} // namespace

CPluginCheck::CPluginCheck(const CCheckOptions& options, CCheckReport& report)
    : m_options(options)
    , m_report(report)
{}

bool CPluginCheck::Run()
{
    CCrashNote::Install();
    m_report.Note(QStringLiteral("korvel-plugincheck: strictness %1, %2 session(s) of %3 events "
                                 "from seed %4%5, %6 load cycle(s), %7 scene-file variant(s)")
                      .arg(m_options.strictness)
                      .arg(m_options.seeds)
                      .arg(m_options.events)
                      .arg(m_options.firstSeed)
                      .arg(m_options.repeat > 1 ? QStringLiteral(", %1 times").arg(m_options.repeat)
                                                : QString())
                      .arg(m_options.loadCycles)
                      .arg(m_options.sceneFileVariants));
    if (CheckPluginFile()) {
        RunSessions();
        if (m_options.loadCycles > 0) {
            CLoadCycleCheck cycles(m_options.pluginFile, m_options.firstSeed, m_options.loadCycles,
                                   kLoadCycleEvents);
            cycles.Run(m_report);
        }
    }
    if (m_options.sceneFileVariants > 0) {
        const QStringList problems =
            CSceneFileFuzzer::Run(m_options.firstSeed, m_options.sceneFileVariants);
        for (const QString& problem : problems)
            m_report.Fail(QStringLiteral("scene file"), problem);
    }
    return m_report.FailureCount() == 0;
}

bool CPluginCheck::CheckPluginFile()
{
    CCrashNote::Enter("loading the plug-in file", false, 0);
    CMessageWatch watch;
    CPluginLoader plugin(m_options.pluginFile);
    if (!plugin.Load()) {
        m_report.Fail(kPluginArea, plugin.Problem());
        return false;
    }
    QStringList problems;
    CPluginFileCheck::CheckMetaData(plugin, &problems);
    CPluginFileCheck::CheckFreshInstance(plugin, &problems);

    const QFileInfo resourceFile(plugin.ResourceFile());
    if (!resourceFile.isFile()) {
        // The host still starts such a plug-in; it must refuse politely, and the framework
        // names the missing file.
        watch.Allow(QRegularExpression(QStringLiteral("resource file .* is missing")));
        UB::Result result;
        {
            CHostWindow host;
            QStringList startProblems;
            result = host.Start(plugin, &startProblems);
        }
        plugin.Unload();
        problems.append(
            QStringLiteral("%1: its resource file %2 is missing from %3; %4")
                .arg(QDir::toNativeSeparators(plugin.Path()), resourceFile.fileName(),
                     QDir::toNativeSeparators(resourceFile.absolutePath()),
                     result.IsFailed()
                         ? QStringLiteral("Initialize refused to start (0x%1)")
                               .arg(static_cast<quint32>(result.code), 8, 16, QLatin1Char('0'))
                         : QStringLiteral("yet Initialize reported success")));
        problems += watch.TakeUnexpected();
        for (const QString& problem : qAsConst(problems))
            m_report.Fail(kPluginArea, problem);
        CCrashNote::Leave();
        return false;
    }
    // Letting the plug-in go deletes its object; the next load must make a new one.
    const QPointer<QObject> first = plugin.Instance();
    plugin.Unload();
    if (!first.isNull())
        problems.append(QStringLiteral("the plug-in object survives the loader's unload"));
    if (!plugin.Load() || plugin.Instance() == nullptr)
        problems.append(QStringLiteral("after an unload the plug-in gives no new object: %1")
                            .arg(plugin.Problem()));
    plugin.Unload();
    problems += watch.TakeUnexpected();
    for (const QString& problem : qAsConst(problems))
        m_report.Fail(kPluginArea, problem);
    CCrashNote::Leave();
    return true;
}

void CPluginCheck::RunSessions()
{
    CSessionRunner::CSettings settings;
    settings.events = m_options.events;
    settings.watchTreeModel = m_options.watchTreeModel;
    settings.scribbleFaults = m_options.scribbleFaults;
    settings.trace = m_options.trace;
    QSet<QString> reportedOnce;
    settings.reportedOnce = &reportedOnce;
    std::uint32_t firstSeed = m_options.firstSeed;
    for (int run = 0; run < m_options.repeat; ++run) {
        for (int i = 0; i < m_options.seeds; ++i) {
            CPluginLoader plugin(m_options.pluginFile);
            CSessionRunner session(plugin, firstSeed + static_cast<std::uint32_t>(i), settings,
                                   m_report);
            session.Run();
        }
        // A repeat with --randomise draws new seeds; without, it runs the same ones again.
        if (m_options.randomise)
            firstSeed += static_cast<std::uint32_t>(m_options.seeds);
    }
}

} // namespace KV
