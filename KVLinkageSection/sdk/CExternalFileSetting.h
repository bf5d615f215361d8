#pragma once

#include "sdk/CInternalSettingInterface.h"

#include <string>

namespace UB {

/// The external-file settings of the host's SDK (section "ExternalFileManager"). Every
/// instance registers itself in the module's settings registry when it is made and leaves it
/// when it dies. Its handle side is not for callers, hence the non-public base.
class CExternalFileSetting : private CInternalSettingInterface
{
public:
    CExternalFileSetting();
    ~CExternalFileSetting() override;

    /// Reads, in this order: ExportSearchProcess, ExportFile, EnableOptimizePathSearch,
    /// RecordFoundPathFromSearchFile.
    Result Load(CSettingsReader* reader) override;

    bool GetExportSearchProcess() const { return m_exportSearchProcess; }
    const std::wstring& GetExportFile() const { return m_exportFile; }
    bool GetEnableOptimizePathSearch() const { return m_enableOptimizePathSearch; }
    bool GetRecordFoundPathFromSearchFile() const { return m_recordFoundPathFromSearchFile; }

    /// This object as the registry lists it.
    CInternalSettingInterface* AsSetting() { return this; }

private:
    bool m_exportSearchProcess = false;
    std::wstring m_exportFile;
    bool m_enableOptimizePathSearch = true;
    bool m_recordFoundPathFromSearchFile = true;
};

} // namespace UB
