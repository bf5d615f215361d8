// Host commands and the edits of the scene's structure that are undo steps.

#include "CSceneModelPrivate.h"

#include "CCommandScope.h"

namespace KV {

// ---- Commands -----------------------------------------------------------------------------------

void CSceneModel::BeginCommand()
{
    d->BeginCommand();
}

void CSceneModel::EndCommand()
{
    d->EndCommand();
}

bool CSceneModel::InCommand() const
{
    return d->commandDepth > 0;
}

QVector<CJournalEntry> CSceneModel::TakeCommandFailures()
{
    return std::exchange(d->commandFailures, {});
}

void CSceneModel::Private::BeginCommand()
{
    if (commandDepth++ == 0) {
        ++commandSerial;
        commandFailures.clear();
    }
}

void CSceneModel::Private::EndCommand()
{
    if (commandDepth == 0 || --commandDepth > 0)
        return;
    RevertPreviews();
    const QVector<CJournalEntry> failures = std::exchange(commandFailures, {});
    emit q->CommandEnded(failures);
}

// ---- Structure ----------------------------------------------------------------------------------

void CSceneModel::DeleteNodes(const QVector<UB::CHandle*>& nodes)
{
    CCommandScope command(this);
    QVector<CSceneNode*> roots;
    for (UB::CHandle* handle : nodes) {
        if (CSceneNode* node = d->state->Find(handle))
            roots.append(node);
    }
    if (roots.isEmpty())
        return;
    const int selectedBefore = d->state->selection.size();
    CStepPart part;
    part.kind = CStepPart::EKind::Removed;
    part.roots = roots;
    part.removal = d->state->RemoveNodes(roots);
    d->ForgetNodes(part.removal.removed);
    const QVector<CSceneNode*> removed = part.removal.removed;
    const QString label = removed.size() == 1 ? tr("Delete %1").arg(removed.first()->desc.name)
                                              : tr("Delete %1 nodes").arg(removed.size());
    d->PushStep(label, {part}, {});

    emit SceneChanged();
    if (d->state->selection.size() != selectedBefore) {
        emit SelectionChanged();
        emit d->sender->ObjectSelectionChanged();
    }
    d->SendRemoved(removed, !part.removal.droppedLinks.isEmpty());
}

QVector<UB::CHandle*> CSceneModel::AddNodesAsStep(const QVector<CNewNode>& nodes,
                                                  const QString& text)
{
    for (int i = 0; i < nodes.size(); ++i) {
        if (nodes.at(i).parent < -1 || nodes.at(i).parent >= i) {
            qWarning("Scene: AddNodesAsStep: node %d (\"%s\") names parent %d, not an earlier node",
                     i, qUtf8Printable(nodes.at(i).desc.name), nodes.at(i).parent);
            return {};
        }
    }
    if (nodes.isEmpty())
        return {};
    CCommandScope command(this);
    QVector<UB::CHandle*> handles;
    handles.reserve(nodes.size());
    CStepPart part;
    part.kind = CStepPart::EKind::Added;
    for (const CNewNode& newNode : nodes) {
        CSceneNode* parent =
            newNode.parent < 0 ? nullptr : static_cast<CSceneNode*>(handles.at(newNode.parent));
        CSceneNode* node = d->state->AddNode(parent, newNode.desc, 0, newNode.rest);
        handles.append(node);
        if (!parent)
            part.roots.append(node);
    }
    d->PushStep(text, {part}, {});
    emit SceneChanged();
    emit d->sender->HierarchyChanged();
    return handles;
}

void CSceneModel::Private::ForgetNodes(const QVector<CSceneNode*>& removed)
{
    for (CSceneNode* node : removed) {
        if (previewBaseline.remove(node) > 0)
            previewOrder.removeOne(node);
    }
}

void CSceneModel::Private::SendRemoved(const QVector<CSceneNode*>& removed, bool linksChanged)
{
    HandleList deleted;
    deleted.Reserve(removed.size());
    for (CSceneNode* node : removed)
        deleted.Add(node);
    emit sender->ObjectDeleted(deleted);
    if (linksChanged)
        emit sender->HierarchyChanged();
}

} // namespace KV
