#pragma once

#include "sdk/CDestroyWatcher.h"

#include <vector>

namespace UB {

class CInternalSettingInterface;

/// The module's registry of settings objects, in registration order. It watches every listed
/// setting, so a setting that dies leaves the list by itself.
class CInternalSettings : public CDestroyWatcher
{
public:
    CInternalSettings();
    /// Unlinks itself from every listed setting that is not being destroyed, so that settings
    /// outliving the registry never reach it.
    ~CInternalSettings() override;

    /// The module's one registry, made on first use and destroyed when the module unloads.
    static CInternalSettings* GetInstance();

    /// Appends `setting` to the list (kAllocationFailed when memory runs out). Linking the
    /// setting to this watcher is the setting's job (AddDestroyWatcher).
    Result AddSetting(CInternalSettingInterface* setting);
    const std::vector<CInternalSettingInterface*>& GetSettings() const { return m_settings; }

    /// Removes the first entry equal to `object`, keeping the order of the others.
    void OnObjectDestroyed(CDestoryWatchableObject* object) override;

private:
    std::vector<CInternalSettingInterface*> m_settings;
};

} // namespace UB
