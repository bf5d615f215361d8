#pragma once

#include "CCheckOptions.h"

namespace KV {

class CCheckReport;

/// One run of korvel-plugincheck: the plug-in file and its metadata, a fresh plug-in object,
/// the seeded random sessions, the load and unload cycles and the corrupted scene files, as
/// the options ask. Everything found goes to the report.
class CPluginCheck
{
public:
    CPluginCheck(const CCheckOptions& options, CCheckReport& report);

    /// Returns whether the run found no failure.
    bool Run();

private:
    /// False when the file is no plug-in the host could start; sessions then make no sense.
    bool CheckPluginFile();
    void RunSessions();

    CCheckOptions m_options;
    CCheckReport& m_report;
};

} // namespace KV
