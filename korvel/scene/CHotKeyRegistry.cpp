#include "CHotKeyRegistry.h"

#include <QAction>

namespace KV {

namespace {
constexpr std::uint64_t kFirstCategoryHandle = 0x100000001ull;
}

std::uint64_t CHotKeyRegistry::RegisterCategory(const QStringList& path, const QString& owner)
{
    for (const CHotKeyCategory& category : m_categories) {
        if (category.path == path && category.owner == owner)
            return category.handle;
    }
    CHotKeyCategory category;
    category.handle = kFirstCategoryHandle + static_cast<std::uint64_t>(m_categories.size());
    category.path = path;
    category.owner = owner;
    m_categories.append(category);
    return category.handle;
}

UB::Result CHotKeyRegistry::RegisterAction(std::uint64_t categoryHandle, QAction* action,
                                           std::vector<QStringList>& conflicts)
{
    if (!action)
        return CSceneModel::kInvalidArgument;
    CHotKeyCategory* target = nullptr;
    for (CHotKeyCategory& category : m_categories) {
        if (category.handle == categoryHandle)
            target = &category;
    }
    if (!target)
        return CSceneModel::kInvalidHandle;

    const QList<QKeySequence> wanted = action->shortcuts();
    for (CHotKeyCategory& category : m_categories) {
        for (const QPointer<QAction>& other : qAsConst(category.actions)) {
            if (!other || other == action)
                continue;
            QList<QKeySequence> kept = other->shortcuts();
            for (const QKeySequence& sequence : wanted) {
                if (!sequence.isEmpty() && kept.removeAll(sequence) > 0) {
                    conflicts.push_back(
                        {sequence.toString(QKeySequence::PortableText), other->objectName()});
                }
            }
            if (kept.size() != other->shortcuts().size())
                other->setShortcuts(kept);
        }
    }
    if (!target->actions.contains(action))
        target->actions.append(action);
    return UB::kOk;
}

} // namespace KV
