#include "sdk/CInternalSettings.h"

#include "sdk/CInternalSettingInterface.h"

#include <algorithm>
#include <new>

namespace UB {

CInternalSettings::CInternalSettings() = default;

CInternalSettings::~CInternalSettings()
{
    for (CInternalSettingInterface* setting : m_settings) {
        if (setting->IsDestroying())
            continue;
        setting->RemoveDestroyWatcher(this);
        Unwatch(setting);
    }
    m_settings.clear();
}

CInternalSettings* CInternalSettings::GetInstance()
{
    static CInternalSettings registry;
    return &registry;
}

Result CInternalSettings::AddSetting(CInternalSettingInterface* setting)
{
    try {
        m_settings.push_back(setting);
    } catch (const std::bad_alloc&) {
        return kAllocationFailed;
    }
    return kOk;
}

void CInternalSettings::OnObjectDestroyed(CDestoryWatchableObject* object)
{
    const auto found =
        std::find_if(m_settings.begin(), m_settings.end(),
                     [object](CInternalSettingInterface* setting) { return setting == object; });
    if (found != m_settings.end())
        m_settings.erase(found);
}

} // namespace UB
