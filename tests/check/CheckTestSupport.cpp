#include "CheckTestSupport.h"

KV::CCheckOptions QuickOptions(const QString& pluginFile, int seeds, int events)
{
    KV::CCheckOptions options = KV::CCheckOptions::ForStrictness(1);
    options.pluginFile = pluginFile;
    options.seeds = seeds;
    options.events = events;
    options.loadCycles = 0;
    options.sceneFileVariants = 0;
    return options;
}

QString FailureLines(const KV::CCheckReport& report)
{
    QStringList lines;
    for (const KV::CCheckReport::CFailure& failure : report.Failures())
        lines.append(failure.ToString());
    return lines.join(QLatin1Char('\n'));
}

bool HasFailureContaining(const KV::CCheckReport& report, const QString& text)
{
    for (const KV::CCheckReport::CFailure& failure : report.Failures()) {
        if (failure.ToString().contains(text))
            return true;
    }
    return false;
}
