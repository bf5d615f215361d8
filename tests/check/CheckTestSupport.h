#pragma once

#include "CCheckOptions.h"
#include "CCheckReport.h"

#include <QString>

/// Options for a quick check of `pluginFile`: a couple of short sessions and nothing else.
inline KV::CCheckOptions QuickOptions(const QString& pluginFile, int seeds = 2, int events = 40)
{
    KV::CCheckOptions options = KV::CCheckOptions::ForStrictness(1);
    options.pluginFile = pluginFile;
    options.seeds = seeds;
    options.events = events;
    options.loadCycles = 0;
    options.sceneFileVariants = 0;
    return options;
}

/// Every failure of a report, one a line.
inline QString FailureLines(const KV::CCheckReport& report)
{
    QStringList lines;
    for (const KV::CCheckReport::CFailure& failure : report.Failures())
        lines.append(failure.ToString());
    return lines.join(QLatin1Char('\n'));
}
