#pragma once

#include "KVSceneModel.h"

namespace KV {

/// The hot-key categories and actions registered with the host.
class CHotKeyRegistry
{
public:
    /// The handle of the category for that path and owner, made on first request. Handles lie
    /// above 32 bits, so a caller that cuts them to an int is caught.
    std::uint64_t RegisterCategory(const QStringList& path, const QString& owner);
    /// Files `action` under the category. A key sequence of the action that another
    /// registered action already uses is taken from that action and reported in `conflicts`
    /// as {sequence, name of the action it was taken from}.
    UB::Result RegisterAction(std::uint64_t category, QAction* action,
                              std::vector<QStringList>& conflicts);
    const QVector<CHotKeyCategory>& Categories() const { return m_categories; }

private:
    QVector<CHotKeyCategory> m_categories;
};

} // namespace KV
