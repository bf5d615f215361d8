#include "plugin/HotKeyRegistration.h"

#include "host/KVKorvelInterface.h"

#include <QObject>

#include <string>
#include <vector>

namespace KV {

namespace {

// The disambiguations are Big5 bytes, as the host's translators were given them: "<what> 在Hot
// Key Manager顯示的名稱", the name <what> has in the Hot Key Manager.
#define KV_NAME_IN_HOT_KEY_MANAGER "\xa6\x62Hot Key Manager\xc5\xe3\xa5\xdc\xaa\xba\xa6\x57\xba\xd9"

std::vector<std::wstring> TranslateCategoryPath()
{
    return {
        QObject::tr("[Hot Key] Modify", "Modify Panel hot key" KV_NAME_IN_HOT_KEY_MANAGER)
            .toStdWString(),
        QObject::tr("[Hot Key] Attribute", "Attribute tab hot key" KV_NAME_IN_HOT_KEY_MANAGER)
            .toStdWString(),
        QObject::tr("[Hot Key] Linkage", "Linkage section hot key" KV_NAME_IN_HOT_KEY_MANAGER)
            .toStdWString(),
    };
}

#undef KV_NAME_IN_HOT_KEY_MANAGER

} // namespace

std::uint64_t RegisterLinkageHotKeyCategory(CKorvelInterface* host, const QString& owner)
{
    return host->GetHotKeyManager()->RegisterHotKeyCategory(TranslateCategoryPath(),
                                                            owner.toStdWString());
}

void RegisterLinkageHotKeyAction(CKorvelInterface* host, std::uint64_t category, QAction* action)
{
    std::vector<QStringList> conflicts;
    host->GetHotKeyManager()->RegisterHotKeyAction(category, action, nullptr, nullptr, conflicts,
                                                   0);
}

} // namespace KV
