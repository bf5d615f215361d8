#pragma once

#include "CCheckOptions.h"
#include "CCheckReport.h"

#include <QString>

/// Options for a quick check of `pluginFile`: a couple of short sessions and nothing else.
KV::CCheckOptions QuickOptions(const QString& pluginFile, int seeds = 2, int events = 40);

/// Every failure of a report, one a line, for assertion messages.
QString FailureLines(const KV::CCheckReport& report);

/// Whether one of the report's failures contains `text`.
bool HasFailureContaining(const KV::CCheckReport& report, const QString& text);
