// The link manager: SetTransform, LinkObjects and UnlinkObject, and the undo history.
//
// The two flags of LinkObjects and UnlinkObject:
// - `commit` true makes the edit one step on the scene's undo stack. `commit` false is a
//   preview or a restore (what a dialog does while it is open, or on Cancel): it leaves no
//   undo step, but the scene remembers, for each node it touches, the node's keys as they were
//   before the first uncommitted edit since the last committed one. SetTransform is always
//   uncommitted. The next committed edit takes all those nodes into its undo step, so that
//   undoing it returns them, and the nodes it touched itself, to where they were before the
//   previews; redo puts back the final state.
// - `notify` true sends the host events of a link change: an ObjectDataChanged2 with a
//   CLinkEvent per object, then HierarchyChanged, then ObjectDataChanged(objects, link). With
//   `notify` false no host event is sent. Undo and redo of a notified edit send the same
//   events again, with old and new parents swapped on undo.
// Every change, previews included, emits SceneChanged for the views.
//
// Before an undo or redo, pending previews are taken back, so that the history always works
// on the states it recorded. Each call is journalled before its events go out, so the journal
// lists a call before anything its listeners do in response.

#include "CSceneModelPrivate.h"

#include "TransformMath.h"

namespace KV {

namespace {

QString EditText(const QVector<CLinkChange>& plan)
{
    const CSceneNode* target = plan.first().newParent;
    const QString objects = plan.size() == 1 ? plan.first().node->desc.name
                                             : QObject::tr("%1 objects").arg(plan.size());
    return target ? QObject::tr("Link %1 to %2").arg(objects, target->desc.name)
                  : QObject::tr("Unlink %1").arg(objects);
}

} // namespace

UB::Result CSceneModel::SetTransform(UB::CHandle* object, UBTime time,
                                     const TransformRecord& transform)
{
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
        node->keys.transform[time] = transform;
    }
    d->Log("SetTransform", result, [&] {
        return QStringList{d->Handle(object), QString::number(time),
                           CCallJournal::Transform(transform)};
    });
    if (result == UB::kOk)
        emit SceneChanged();
    return result;
}

UB::Result CSceneModel::LinkObjects(const HandleList& objects, UB::CHandle* target, int alignMode,
                                    UBTime time, bool commit, bool notify)
{
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
            d->SendLinkEvents(plan, time, false);
    }
    return result;
}

UB::Result CSceneModel::UnlinkObject(UB::CHandle* object, UBTime time, bool commit, bool notify)
{
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
            d->SendLinkEvents(plan, time, false);
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

void CSceneModel::Private::ApplyLinkEdit(const QVector<CLinkChange>& plan, UBTime time, bool commit,
                                         bool notify)
{
    if (!commit) {
        for (const CLinkChange& change : plan)
            RememberPreview(change.node);
        CLinkPlanner::Apply(plan, time);
        return;
    }
    CKeyEdit edit;
    edit.links = plan;
    edit.time = time;
    edit.notify = notify;
    for (CSceneNode* node : qAsConst(previewOrder))
        edit.keys.append({node, previewBaseline.value(node), {}});
    for (const CLinkChange& change : plan) {
        if (!previewBaseline.contains(change.node))
            edit.keys.append({change.node, change.node->keys, {}});
    }
    CLinkPlanner::Apply(plan, time);
    for (CKeyChange& change : edit.keys)
        change.after = change.node->keys;
    previewBaseline.clear();
    previewOrder.clear();
    undo->push(new CLinkEditCommand(
        EditText(plan), std::move(edit),
        [this](const CKeyEdit& step, bool back) { ApplyUndoable(step, back); }));
}

void CSceneModel::Private::RevertPreviews()
{
    for (CSceneNode* node : qAsConst(previewOrder)) {
        if (state->Find(node))
            node->keys = previewBaseline.value(node);
    }
    previewBaseline.clear();
    previewOrder.clear();
}

void CSceneModel::Private::ApplyUndoable(const CKeyEdit& edit, bool undoing)
{
    RevertPreviews();
    for (const CKeyChange& change : edit.keys) {
        if (!state->Find(change.node))
            continue; // deleted since; nothing to put back
        change.node->keys = undoing ? change.before : change.after;
        // A parent deleted since the edit is no parent now.
        for (auto& key : change.node->keys.link) {
            if (key.second && !state->Find(key.second))
                key.second = nullptr;
        }
    }
    emit q->SceneChanged();
    if (edit.notify)
        SendLinkEvents(edit.links, edit.time, undoing);
}

void CSceneModel::Private::SendLinkEvent(const CLinkChange& change, UBTime time, bool reversed)
{
    CLinkEvent event;
    event.time = time;
    event.object = static_cast<UB::CHandle*>(change.node);
    event.oldParent = static_cast<UB::CHandle*>(reversed ? change.newParent : change.oldParent);
    event.newParent = static_cast<UB::CHandle*>(reversed ? change.oldParent : change.newParent);
    emit sender->ObjectDataChanged2(&event);
}

void CSceneModel::Private::SendLinkEvents(QVector<CLinkChange> changes, UBTime time, bool reversed)
{
    // `changes` is a copy: listeners may change the scene and its history while it is read.
    HandleList objects;
    for (const CLinkChange& change : changes) {
        if (!state->Find(change.node))
            continue;
        SendLinkEvent(change, time, reversed);
        objects.Add(change.node);
    }
    emit sender->HierarchyChanged();
    emit sender->ObjectDataChanged(objects, eChangedLink);
}

} // namespace KV
