#include "sdk/CExternalFileSetting.h"

#include "sdk/CInternalSettings.h"
#include "sdk/CSettingsReader.h"

namespace UB {

namespace {

const std::wstring kSection = L"ExternalFileManager";
const std::wstring kExportSearchProcessKey = L"ExportSearchProcess";
const std::wstring kExportFileKey = L"ExportFile";
const std::wstring kEnableOptimizePathSearchKey = L"EnableOptimizePathSearch";
const std::wstring kRecordFoundPathFromSearchFileKey = L"RecordFoundPathFromSearchFile";
const std::wstring kDefaultExportFile = L"D:\\ExternalFileSearchProcess.txt";

} // namespace

CExternalFileSetting::CExternalFileSetting()
{
    CInternalSettings* registry = CInternalSettings::GetInstance();
    AddDestroyWatcher(registry);
    // A failed append only means the registry cannot list this setting; it still works.
    registry->AddSetting(this);
}

CExternalFileSetting::~CExternalFileSetting() = default;

Result CExternalFileSetting::Load(CSettingsReader* reader)
{
    if (reader == nullptr)
        return kNothingDone;
    m_exportSearchProcess = reader->ReadBool(kSection, kExportSearchProcessKey, false);
    m_exportFile = reader->ReadString(kSection, kExportFileKey, kDefaultExportFile);
    m_enableOptimizePathSearch = reader->ReadBool(kSection, kEnableOptimizePathSearchKey, true);
    m_recordFoundPathFromSearchFile =
        reader->ReadBool(kSection, kRecordFoundPathFromSearchFileKey, true);
    return kOk;
}

} // namespace UB
