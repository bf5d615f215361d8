// The link manager: SetTransform, LinkObjects and UnlinkObject. What each call means is in
// docs/host-contract.md; in short:
// - A transform record is the object's placement in the world. SetTransform moves the object
//   there under the link parent it has at that time; LinkObjects with align 0 keeps it there.
// - `commit` true makes the edit part of the command's undo step. `commit` false is a preview:
//   the scene remembers the node's keys from before its first preview and takes the preview
//   back when the outermost command ends, or folds it into the step when the command commits
//   that node. SetTransform is always a preview.
// - `notify` true sends the host events of a link change; undo and redo send them again.
// Each call is journalled before its events go out, so the journal lists a call before
// anything its listeners do in response.

#include "CSceneModelPrivate.h"

#include "CCommandScope.h"
#include "TransformMath.h"

namespace KV {

UB::Result CSceneModel::SetTransform(UB::CHandle* object, UBTime time,
                                     const TransformRecord& transform)
{
    CCommandScope command(this);
    UB::Result result;
    CSceneNode* node = nullptr;
    if (!d->TakeFault("SetTransform", result)) {
        node = d->state->Find(object);
        if (!node)
            result = kInvalidHandle;
        else if (!TransformMath::IsUsable(transform))
            result = kInvalidArgument;
    }
    if (result == UB::kOk) {
        d->RememberPreview(node);
        const CSceneNode* parent = node->LinkParentAt(time);
        node->keys.transform[time] =
            parent ? TransformMath::LocalFor(d->state->WorldMatrixAt(parent, time),
                                             TransformMath::ToMatrix(transform))
                   : transform;
    }
    d->Log("SetTransform", result, [&] {
        return QStringList{d->Handle(object), QString::number(time),
                           CCallJournal::Transform(transform)};
    });
    if (result == UB::kOk) {
        emit SceneChanged();
        d->UpdateModified();
    }
    return result;
}

UB::Result CSceneModel::LinkObjects(const HandleList& objects, UB::CHandle* target, int alignMode,
                                    UBTime time, bool commit, bool notify)
{
    CCommandScope command(this);
    UB::Result result;
    QVector<CLinkChange> plan;
    if (!d->TakeFault("LinkObjects", result))
        result = CLinkPlanner(*d->state).PlanLink(objects, target, alignMode, time, plan);
    if (result == UB::kOk)
        d->ApplyLinkEdit(plan, time, commit, notify);
    d->Log("LinkObjects", result, [&] {
        return QStringList{d->Handles(objects),        d->Handle(target),
                           QString::number(alignMode), QString::number(time),
                           CCallJournal::Flag(commit), CCallJournal::Flag(notify)};
    });
    if (result == UB::kOk) {
        emit SceneChanged();
        if (notify)
            d->SendLinkEvents(plan, false);
    }
    return result;
}

UB::Result CSceneModel::UnlinkObject(UB::CHandle* object, UBTime time, bool commit, bool notify)
{
    CCommandScope command(this);
    UB::Result result;
    QVector<CLinkChange> plan;
    if (!d->TakeFault("UnlinkObject", result))
        result = CLinkPlanner(*d->state).PlanUnlink(object, time, plan);
    if (result == UB::kOk)
        d->ApplyLinkEdit(plan, time, commit, notify);
    d->Log("UnlinkObject", result, [&] {
        return QStringList{d->Handle(object), QString::number(time), CCallJournal::Flag(commit),
                           CCallJournal::Flag(notify)};
    });
    if (result == UB::kOk) {
        emit SceneChanged();
        if (notify)
            d->SendLinkEvents(plan, false);
    }
    return result;
}

// ---- Previews and the undo history --------------------------------------------------------------

void CSceneModel::Private::RememberPreview(CSceneNode* node)
{
    if (previewBaseline.contains(node))
        return;
    previewBaseline.insert(node, node->keys);
    previewOrder.append(node);
}

void CSceneModel::Private::ApplyLinkEdit(QVector<CLinkChange>& plan, UBTime time, bool commit,
                                         bool notify)
{
    for (CLinkChange& change : plan)
        change.notify = notify;
    if (!commit) {
        for (const CLinkChange& change : plan)
            RememberPreview(change.node);
        previewAnnounced = previewAnnounced || notify;
        CLinkPlanner::Apply(plan, time);
        UpdateModified();
        return;
    }
    // A committed node's step starts from its keys before any preview: the preview becomes
    // part of what the step changed.
    QVector<CStepPart> parts;
    parts.reserve(plan.size());
    for (const CLinkChange& change : plan) {
        CStepPart part;
        part.node = change.node;
        part.before = previewBaseline.contains(change.node) ? previewBaseline.take(change.node)
                                                            : change.node->keys;
        previewOrder.removeOne(change.node);
        parts.append(part);
    }
    CLinkPlanner::Apply(plan, time);
    for (CStepPart& part : parts)
        part.after = part.node->keys;
    PushStep(QString(), std::move(parts), plan);
}

bool CSceneModel::Private::RevertPreviews()
{
    if (previewOrder.isEmpty())
        return false;
    for (CSceneNode* node : qAsConst(previewOrder)) {
        if (state->Find(node))
            node->keys = previewBaseline.value(node);
    }
    previewBaseline.clear();
    previewOrder.clear();
    emit q->SceneChanged();
    if (previewAnnounced) {
        previewAnnounced = false;
        emit sender->HierarchyChanged();
    }
    UpdateModified();
    return true;
}

void CSceneModel::Private::PushStep(const QString& label, QVector<CStepPart> parts,
                                    QVector<CLinkChange> links)
{
    auto* step = new CSceneStep(commandSerial, label,
                                [this](CSceneStep& done, bool back) { ApplyStep(done, back); });
    step->parts = std::move(parts);
    step->links = std::move(links);
    step->UpdateText();
    undo->push(step); // merged into the command's first step where there is one
    UpdateModified();
}

void CSceneModel::Private::ApplyStep(CSceneStep& step, bool undoing)
{
    RevertPreviews();
    const QVector<CSceneNode*> selectedBefore = state->selection;
    QVector<CSceneNode*> removed;
    bool structure = false;
    const int count = step.parts.size();
    for (int i = 0; i < count; ++i) {
        CStepPart& part = step.parts[undoing ? count - 1 - i : i];
        if (part.kind == CStepPart::EKind::Keys) {
            if (!state->Find(part.node))
                continue;
            part.node->keys = undoing ? part.before : part.after;
            continue;
        }
        structure = true;
        const bool remove = (part.kind == CStepPart::EKind::Added) == undoing;
        if (remove) {
            part.removal = state->RemoveNodes(part.roots);
            ForgetNodes(part.removal.removed);
            removed += part.removal.removed;
        } else {
            state->RestoreNodes(part.removal);
        }
    }
    emit q->SceneChanged();
    if (state->selection != selectedBefore) {
        emit q->SelectionChanged();
        emit sender->ObjectSelectionChanged();
    }
    if (!removed.isEmpty())
        SendRemoved(removed, false);
    if (structure)
        emit sender->HierarchyChanged();
    QVector<CLinkChange> announced;
    for (const CLinkChange& change : qAsConst(step.links)) {
        if (change.notify)
            announced.append(change);
    }
    if (!announced.isEmpty())
        SendLinkEvents(announced, undoing);
}

void CSceneModel::Private::SendLinkEvent(const CLinkChange& change, bool reversed)
{
    CLinkEvent event;
    event.time = change.time;
    event.object = static_cast<UB::CHandle*>(change.node);
    event.oldParent = static_cast<UB::CHandle*>(reversed ? change.newParent : change.oldParent);
    event.newParent = static_cast<UB::CHandle*>(reversed ? change.oldParent : change.newParent);
    emit sender->ObjectDataChanged2(&event);
}

void CSceneModel::Private::SendLinkEvents(QVector<CLinkChange> changes, bool reversed)
{
    // `changes` is a copy: listeners may change the scene and its history while it is read.
    HandleList objects;
    for (const CLinkChange& change : changes) {
        if (!state->Find(change.node))
            continue;
        SendLinkEvent(change, reversed);
        objects.Add(change.node);
    }
    emit sender->HierarchyChanged();
    emit sender->ObjectDataChanged(objects, eChangedLink);
}

void CSceneModel::Private::UpdateModified()
{
    const bool now = !undo->isClean() || !previewOrder.isEmpty();
    if (now == modified)
        return;
    modified = now;
    emit q->ModifiedChanged(now);
}

} // namespace KV
