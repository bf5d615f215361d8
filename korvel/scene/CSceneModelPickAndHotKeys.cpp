// The pick manager and the hot-key manager. Each call is journalled; the calls that return a
// UB::Result can be made to fail, and a failed call changes nothing.

#include "CSceneModelPrivate.h"

#include <QAction>

namespace KV {

// ---- CPickManager -------------------------------------------------------------------------------

UB::Result CSceneModel::SetPickMode(int mode)
{
    UB::Result result;
    const bool faulted = d->TakeFault("SetPickMode", result);
    const auto log = [&] {
        d->Log("SetPickMode", result, [mode] { return QStringList{QString::number(mode)}; });
    };
    if (faulted)
        log();
    else
        d->ChangePickMode(mode, log);
    return result;
}

UB::Result CSceneModel::EndPickMode()
{
    UB::Result result;
    const bool faulted = d->TakeFault("EndPickMode", result);
    const auto log = [&] {
        d->Log("EndPickMode", result, [] { return QStringList(); });
    };
    if (faulted)
        log();
    else
        d->ChangePickMode(0, log);
    return result;
}

UB::Result CSceneModel::ShowSection(int panel, int tab, int section)
{
    UB::Result result;
    const bool faulted = d->TakeFault("ShowSection", result);
    d->Log("ShowSection", result, [&] {
        return QStringList{QString::number(panel), QString::number(tab), QString::number(section)};
    });
    if (!faulted)
        emit SectionShowRequested(panel, tab, section);
    return result;
}

// ---- CHotKeyManager -----------------------------------------------------------------------------

std::uint64_t CSceneModel::RegisterHotKeyCategory(const std::vector<std::wstring>& path,
                                                  const std::wstring& owner)
{
    QStringList parts;
    for (const std::wstring& part : path)
        parts.append(QString::fromStdWString(part));
    const QString ownerName = QString::fromStdWString(owner);
    const std::uint64_t handle = d->hotKeys.RegisterCategory(parts, ownerName);
    d->Log(
        "RegisterHotKeyCategory", UB::kOk,
        [&] {
            return QStringList{CCallJournal::Text(parts.join(QLatin1Char('/'))),
                               CCallJournal::Text(ownerName)};
        },
        [handle] { return QStringLiteral("0x") + QString::number(handle, 16); });
    return handle;
}

UB::Result CSceneModel::RegisterHotKeyAction(std::uint64_t category, QAction* action,
                                             QWidget* shortcutWidget, QObject* reserved,
                                             std::vector<QStringList>& conflicts, int flags)
{
    UB::Result result;
    if (!d->TakeFault("RegisterHotKeyAction", result,
                      [&] { conflicts.push_back({QStringLiteral("<garbage>")}); })) {
        result = d->hotKeys.RegisterAction(category, action, conflicts);
    }
    const auto objectName = [](const QObject* object) {
        return object ? object->objectName() : QStringLiteral("null");
    };
    d->Log("RegisterHotKeyAction", result, [&] {
        return QStringList{QStringLiteral("0x") + QString::number(category, 16), objectName(action),
                           objectName(shortcutWidget), objectName(reserved),
                           QString::number(flags)};
    });
    return result;
}

} // namespace KV
