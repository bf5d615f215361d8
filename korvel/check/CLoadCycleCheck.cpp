#include "CLoadCycleCheck.h"

#include "CCheckReport.h"
#include "CPluginLoader.h"
#include "CProcessUsage.h"
#include "CSessionRunner.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPixmapCache>
#include <QScopeGuard>

#include <algorithm>
#include <limits>

namespace KV {

CLoadCycleCheck::CLoadCycleCheck(const QString& pluginFile, std::uint32_t seed, int cycles,
                                 int events)
    : m_pluginFile(pluginFile)
    , m_seed(seed)
    , m_cycles(cycles)
    , m_events(events)
{}

bool CLoadCycleCheck::Run(CCheckReport& report)
{
    const QString area = QStringLiteral("load cycle");
    CSessionRunner::CSettings settings;
    settings.events = m_events;
    settings.area = area;
    QSet<QString> reportedOnce;
    settings.reportedOnce = &reportedOnce;

    // Qt 5's pixmap cache keeps the text key of every pixmap it ever held, and every load
    // makes new icon engines with new keys; with the cache off only the plug-in's own
    // leftovers are measured.
    const int cacheLimit = QPixmapCache::cacheLimit();
    QPixmapCache::clear();
    QPixmapCache::setCacheLimit(0);
    const auto restoreCache =
        qScopeGuard([cacheLimit] { QPixmapCache::setCacheLimit(cacheLimit); });
    CProcessUsage first;
    CProcessUsage middle;
    // The last heap figure is the least over the last quarter of the cycles: an allocation
    // that a busy machine's timing leaves pending for a while raises one figure, a leak
    // raises them all.
    const int middleCycle = (m_cycles + 1) / 2;
    const int lateFrom = std::max(middleCycle + 1, m_cycles - std::max(1, m_cycles / 4) + 1);
    long long lateLeast = std::numeric_limits<long long>::max();
    bool passed = true;
    for (int cycle = 1; cycle <= m_cycles; ++cycle) {
        {
            // The same session every cycle, so that every cycle asks the same of the process;
            // a failure in it is the same every time and is reported for the first cycle only.
            CCheckReport quiet;
            CPluginLoader plugin(m_pluginFile);
            CSessionRunner session(plugin, m_seed, settings, cycle == 1 ? report : quiet);
            if (!session.Run())
                passed = false;
            if (cycle > 1) {
                report.CountSession();
                report.CountEvents(session.EventsRun());
            }
        }
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (QFileInfo::exists(QStringLiteral(":/plugin/KVLinkageSection/Linkage.ui"))) {
            report.Fail(area, QStringLiteral("after cycle %1 the plug-in's layouts are still in "
                                             "the resource system: its resource file was not "
                                             "unregistered")
                                  .arg(cycle));
            return false;
        }
        CProcessUsage usage = CProcessUsage::Measure();
        if (cycle == 1)
            first = usage;
        if (cycle == middleCycle)
            middle = usage;
        if (cycle >= lateFrom)
            lateLeast = std::min(lateLeast, usage.heapBytes);
        if (cycle < m_cycles || m_cycles < 2)
            continue;
        usage.heapBytes = lateLeast;
        // Against the first cycle everything but the allocator's filling cache must be back;
        // over the second half the heap must stand still once it is full, so a slow leak
        // cannot hide in the allowance.
        const QStringList sinceFirst = usage.GrowthSince(first, kHeapSlack);
        const QStringList sinceMiddle = middleCycle >= kSettledCycle
                                            ? usage.GrowthSince(middle, kLateHeapSlack)
                                            : QStringList();
        report.Note(QStringLiteral("load cycles: after cycle 1 %1; after cycle %2 %3; after "
                                   "cycle %4 %5 (the heap least over cycles %6-%4)")
                        .arg(first.ToString())
                        .arg(middleCycle)
                        .arg(middle.ToString())
                        .arg(cycle)
                        .arg(usage.ToString())
                        .arg(lateFrom));
        if (!sinceFirst.isEmpty() || !sinceMiddle.isEmpty()) {
            report.Fail(area,
                        QStringLiteral("%1 cycles of load, initialise, run, destroy and unload "
                                       "leave things behind: since cycle 1 %2; since cycle %3 %4")
                            .arg(cycle)
                            .arg(sinceFirst.isEmpty() ? QStringLiteral("nothing")
                                                      : sinceFirst.join(QStringLiteral(", ")))
                            .arg(middleCycle)
                            .arg(sinceMiddle.isEmpty() ? QStringLiteral("nothing")
                                                       : sinceMiddle.join(QStringLiteral(", "))));
            passed = false;
        }
    }
    return passed;
}

} // namespace KV
