#include "FailingAllocation.h"

#include "sdk/CExternalFileSetting.h"
#include "sdk/CInternalSettingInterface.h"
#include "sdk/CInternalSettings.h"
#include "sdk/CSettingsReader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using UB::CExternalFileSetting;
using UB::CInternalSettingInterface;
using UB::CInternalSettings;

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

std::vector<CInternalSettingInterface*> Tail(const std::vector<CInternalSettingInterface*>& list,
                                             std::size_t from)
{
    return {list.begin() + static_cast<std::ptrdiff_t>(from), list.end()};
}

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
    EXPECT_EQ(setting.GetExportFile(), L"/home/animator/search.log");
}

TEST(InternalSettings, ListsSettingsInRegistrationOrderFromLoadUntilTheyDie)
{
    CInternalSettings* registry = CInternalSettings::GetInstance();
    ASSERT_EQ(registry, CInternalSettings::GetInstance());
    // The module's own setting is there from load on.
    const std::size_t before = registry->GetSettings().size();
    ASSERT_GE(before, 1u);

    auto first = std::make_unique<CExternalFileSetting>();
    auto second = std::make_unique<CExternalFileSetting>();
    auto third = std::make_unique<CExternalFileSetting>();
    EXPECT_EQ(Tail(registry->GetSettings(), before),
              (std::vector<CInternalSettingInterface*>{first->AsSetting(), second->AsSetting(),
                                                       third->AsSetting()}));
    EXPECT_EQ(registry->GetWatchedObjects().count(second->AsSetting()), 1u);

    CInternalSettingInterface* gone = second->AsSetting();
    second.reset();

    EXPECT_EQ(Tail(registry->GetSettings(), before),
              (std::vector<CInternalSettingInterface*>{first->AsSetting(), third->AsSetting()}));
    EXPECT_EQ(registry->GetWatchedObjects().count(gone), 0u);

    first.reset();
    third.reset();
    EXPECT_EQ(registry->GetSettings().size(), before);
}

TEST(InternalSettings, DestroyedObjectLeavesOnlyItsFirstEntry)
{
    CInternalSettings registry;
    CProbeSetting brush(registry);
    CProbeSetting lens(registry);
    registry.AddSetting(&brush);
    UB::CDestoryWatchableObject unrelated;

    registry.OnObjectDestroyed(&unrelated);
    EXPECT_EQ(registry.GetSettings(),
              (std::vector<CInternalSettingInterface*>{&brush, &lens, &brush}));

    registry.OnObjectDestroyed(&brush);
    EXPECT_EQ(registry.GetSettings(), (std::vector<CInternalSettingInterface*>{&lens, &brush}));
}

TEST(InternalSettings, DestroyedWithSettingsStillListedUnlinksFromThem)
{
    auto registry = std::make_unique<CInternalSettings>();
    CProbeSetting brush(*registry);
    auto lens = std::make_unique<CProbeSetting>(*registry);
    ASSERT_EQ(registry->GetSettings().size(), 2u);
    ASSERT_EQ(brush.GetDestroyWatchers().size(), 1u);

    registry.reset();

    // The settings outlive the registry and no longer reach it, also when they die.
    EXPECT_TRUE(brush.GetDestroyWatchers().empty());
    EXPECT_TRUE(lens->GetDestroyWatchers().empty());
    lens.reset();
}

TEST(InternalSettings, AppendReportsMemoryRunningOut)
{
    CInternalSettings home;
    CProbeSetting probe(home);
    CInternalSettings registry;

    UB::Result result;
    {
        CFailingAllocation noMemory;
        result = registry.AddSetting(&probe);
    }

    EXPECT_EQ(result, UB::kAllocationFailed);
    EXPECT_TRUE(registry.GetSettings().empty());
    EXPECT_EQ(registry.AddSetting(&probe), UB::kOk);
    registry.OnObjectDestroyed(&probe);
}
