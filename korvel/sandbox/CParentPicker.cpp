#include "CParentPicker.h"

#include "KVSceneModel.h"

#include <QStringList>

namespace KV {

namespace {

// Keeps each object where it is in the world: only the parent changes.
constexpr int kKeepWorldTransform = 0;

} // namespace

CParentPicker::CParentPicker(CSceneModel* scene, QObject* parent)
    : QObject(parent)
    , m_scene(scene)
{}

void CParentPicker::Pick(UB::CHandle* target)
{
    if (m_scene->PickMode() != ePickParent || target == nullptr || !m_scene->Contains(target))
        return;
    const QVector<UB::CHandle*> selection = m_scene->Selection();
    if (selection.isEmpty()) {
        emit Problem(tr("Nothing is selected to link to %1.").arg(m_scene->Name(target)));
        return;
    }
    HandleList objects;
    objects.Reserve(selection.size());
    for (UB::CHandle* object : selection)
        objects.Add(object);

    const UB::Result result = m_scene->LinkObjects(objects, target, kKeepWorldTransform,
                                                   m_scene->CurrentTime(), true, true);
    if (result.IsFailed()) {
        // The reason says more than the failed call would, so the call is not reported again.
        m_scene->TakeCommandFailures();
        emit Problem(RefusalReason(selection, target, result));
        return;
    }
    emit Message(tr("Linked %1 to %2.").arg(Names(selection), m_scene->Name(target)));
    m_scene->ChangePickMode(ePickNone);
}

void CParentPicker::Cancel()
{
    if (m_scene->PickMode() != ePickParent)
        return;
    m_scene->ChangePickMode(ePickNone);
    emit Message(tr("Picking a parent was cancelled."));
}

QString CParentPicker::RefusalReason(const QVector<UB::CHandle*>& objects, UB::CHandle* target,
                                     const UB::Result& result) const
{
    const QString head = tr("Cannot link %1 to %2: ").arg(Names(objects), m_scene->Name(target));
    if (result != CSceneModel::kWouldCycle) {
        return head + tr("the scene refused with code 0x%1.")
                          .arg(static_cast<quint32>(result.code), 8, 16, QLatin1Char('0'));
    }
    if (objects.contains(target))
        return head + tr("an object cannot be its own parent.");
    // Walk up from the target: the first selected object on the way is the one it hangs from.
    const UBTime now = m_scene->CurrentTime();
    const int nodeCount = m_scene->AllNodes().size();
    UB::CHandle* ancestor = m_scene->LinkParentAt(target, now);
    for (int steps = 0; ancestor != nullptr && steps < nodeCount; ++steps) {
        if (objects.contains(ancestor)) {
            return head + tr("%1 hangs below %2, so the link would make a cycle.")
                              .arg(m_scene->Name(target), m_scene->Name(ancestor));
        }
        ancestor = m_scene->LinkParentAt(ancestor, now);
    }
    return head + tr("the link would make a cycle later in time.");
}

QString CParentPicker::Names(const QVector<UB::CHandle*>& nodes) const
{
    QStringList names;
    for (UB::CHandle* node : nodes)
        names << m_scene->Name(node);
    if (names.size() > 3)
        return tr("%1 and %n more", nullptr, names.size() - 2)
            .arg(QStringList(names.mid(0, 2)).join(QStringLiteral(", ")));
    return names.join(QStringLiteral(", "));
}

} // namespace KV
