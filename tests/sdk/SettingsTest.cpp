#include "FailingAllocation.h"

#include "sdk/CExternalFileSetting.h"
#include "sdk/CInternalSettingInterface.h"
#include "sdk/CInternalSettings.h"
#include "sdk/CSettingsReader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using UB::CExternalFileSetting;
using UB::CInternalSettingInterface;
using UB::CInternalSettings;
using Settings = std::vector<CInternalSettingInterface*>;

// Records every read and answers with values that differ from the defaults.
class CRecordingReader : public UB::CSettingsReader
{
public:
    std::wstring ReadString(const std::wstring& section, const std::wstring& key,
                            const std::wstring& defaultValue) override
    {
        reads.push_back(L"String " + section + L"/" + key + L" = " + defaultValue);
        return L"/home/animator/search.log";
    }
    bool ReadBool(const std::wstring& section, const std::wstring& key, bool defaultValue) override
    {
        reads.push_back(L"Bool " + section + L"/" + key + L" = " +
                        (defaultValue ? L"true" : L"false"));
        return !defaultValue;
    }

    std::vector<std::wstring> reads;
};

// A setting that registers with a registry of the test's choosing.
class CProbeSetting : public CInternalSettingInterface
{
public:
    explicit CProbeSetting(CInternalSettings& registry)
    {
        AddDestroyWatcher(&registry);
        registry.AddSetting(this);
    }
    UB::Result Load(UB::CSettingsReader*) override { return UB::kOk; }
};

} // namespace

TEST(ExternalFileSetting, LoadReadsEveryKeyInOrderWithItsDefault)
{
    CExternalFileSetting setting;
    EXPECT_FALSE(setting.GetExportSearchProcess());
    EXPECT_TRUE(setting.GetExportFile().empty());
    EXPECT_TRUE(setting.GetEnableOptimizePathSearch());
    EXPECT_TRUE(setting.GetRecordFoundPathFromSearchFile());
    CRecordingReader reader;

    EXPECT_EQ(setting.Load(&reader), UB::kOk);

    EXPECT_EQ(reader.reads,
              (std::vector<std::wstring>{
                  L"Bool ExternalFileManager/ExportSearchProcess = false",
                  L"String ExternalFileManager/ExportFile = D:\\ExternalFileSearchProcess.txt",
                  L"Bool ExternalFileManager/EnableOptimizePathSearch = true",
                  L"Bool ExternalFileManager/RecordFoundPathFromSearchFile = true",
              }));
    EXPECT_TRUE(setting.GetExportSearchProcess());
    EXPECT_EQ(setting.GetExportFile(), L"/home/animator/search.log");
    EXPECT_FALSE(setting.GetEnableOptimizePathSearch());
    EXPECT_FALSE(setting.GetRecordFoundPathFromSearchFile());

    // Without a reader nothing is read and nothing changes.
    EXPECT_EQ(setting.Load(nullptr), UB::kNothingDone);
    EXPECT_TRUE(setting.GetExportSearchProcess());
}

TEST(InternalSettings, ListsSettingsInRegistrationOrderFromLoadUntilTheyDie)
{
    CInternalSettings* registry = CInternalSettings::GetInstance();
    ASSERT_EQ(registry, CInternalSettings::GetInstance());
    // The module's own setting is there from load on.
    const Settings before = registry->GetSettings();
    ASSERT_GE(before.size(), 1u);

    auto first = std::make_unique<CExternalFileSetting>();
    auto second = std::make_unique<CExternalFileSetting>();
    auto third = std::make_unique<CExternalFileSetting>();
    Settings expected = before;
    expected.insert(expected.end(), {first->AsSetting(), second->AsSetting(), third->AsSetting()});
    EXPECT_EQ(registry->GetSettings(), expected);

    first.reset();
    second.reset();
    third.reset();
    EXPECT_EQ(registry->GetSettings(), before);
}

TEST(InternalSettings, ARegistryForgetsOneEntryPerDeathAndUnlinksWhenItDies)
{
    auto registry = std::make_unique<CInternalSettings>();
    CProbeSetting brush(*registry);
    auto lens = std::make_unique<CProbeSetting>(*registry);
    registry->AddSetting(&brush);
    UB::CDestoryWatchableObject unrelated;

    registry->OnObjectDestroyed(&unrelated);
    EXPECT_EQ(registry->GetSettings(), (Settings{&brush, lens.get(), &brush}));
    registry->OnObjectDestroyed(&brush);
    EXPECT_EQ(registry->GetSettings(), (Settings{lens.get(), &brush}));

    // Memory running out is reported, and the list is left as it was.
    CInternalSettings empty;
    UB::Result result;
    {
        CFailingAllocation noMemory;
        result = empty.AddSetting(lens.get());
    }
    EXPECT_EQ(result, UB::kAllocationFailed);
    EXPECT_TRUE(empty.GetSettings().empty());

    // The settings outlive the registry and no longer reach it, also when they die.
    registry.reset();
    EXPECT_TRUE(brush.GetDestroyWatchers().empty());
    EXPECT_TRUE(lens->GetDestroyWatchers().empty());
    lens.reset();
}
