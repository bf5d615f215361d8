// The host application interface's entry points and its scene manager: read-only queries.
// Each call is journalled; the calls that return a UB::Result can be made to fail. A null,
// unknown or deleted handle gives kInvalidHandle (out-values left alone), false, an empty
// text or null.

#include "CSceneModelPrivate.h"

#include <limits>

namespace KV {

namespace {
constexpr int kGarbageNumber = -559038737; // 0xDEADBEEF
}

// ---- CKorvelInterface ---------------------------------------------------------------------------

CEventSender* CSceneModel::GetEventSender()
{
    d->Log("GetEventSender", UB::kOk, [] { return QStringList(); });
    return d->sender;
}

CLinkManager* CSceneModel::GetLinkManager()
{
    d->Log("GetLinkManager", UB::kOk, [] { return QStringList(); });
    return this;
}

CSceneManager* CSceneModel::GetSceneManager()
{
    d->Log("GetSceneManager", UB::kOk, [] { return QStringList(); });
    return this;
}

CPickManager* CSceneModel::GetPickManager()
{
    d->Log("GetPickManager", UB::kOk, [] { return QStringList(); });
    return this;
}

CHotKeyManager* CSceneModel::GetHotKeyManager()
{
    d->Log("GetHotKeyManager", UB::kOk, [] { return QStringList(); });
    return this;
}

// ---- CSceneManager ------------------------------------------------------------------------------

QWidget* CSceneModel::GetMainWindow()
{
    QWidget* window = d->mainWindow;
    d->Log(
        "GetMainWindow", UB::kOk, [] { return QStringList(); },
        [window] { return window ? window->objectName() : QStringLiteral("null"); });
    return window;
}

bool CSceneModel::IsPlaying()
{
    d->Log(
        "IsPlaying", UB::kOk, [] { return QStringList(); },
        [this] { return CCallJournal::Flag(d->playing); });
    return d->playing;
}

UBTime CSceneModel::GetCurrentTime()
{
    const UBTime time = d->state->currentTime;
    d->Log(
        "GetCurrentTime", UB::kOk, [] { return QStringList(); },
        [time] { return QString::number(time); });
    return time;
}

UB::Result CSceneModel::GetSelectedObjects(HandleList& out, bool topLevelOnly)
{
    UB::Result result;
    if (!d->TakeFault("GetSelectedObjects", result, [&] { out.Add(Private::GarbageHandle()); })) {
        out.Clear();
        for (CSceneNode* node : d->state->selection) {
            if (!topLevelOnly || !node->structuralParent)
                out.Add(node);
        }
    }
    d->Log(
        "GetSelectedObjects", result, [&] { return QStringList{CCallJournal::Flag(topLevelOnly)}; },
        [&] { return d->Handles(out); });
    return result;
}

UB::Result CSceneModel::GetObjectType(UB::CHandle* object, int& type)
{
    return d->QueryNode(
        "GetObjectType", object, type, kGarbageNumber,
        [](const CSceneNode& node) { return node.desc.objectType; }, [] { return QStringList(); },
        [&] { return QString::number(type); });
}

UB::Result CSceneModel::GetNodeKind(UB::CHandle* node, int& kind)
{
    return d->QueryNode(
        "GetNodeKind", node, kind, kGarbageNumber,
        [](const CSceneNode& found) { return found.desc.nodeKind; }, [] { return QStringList(); },
        [&] { return QString::number(kind); });
}

std::wstring CSceneModel::GetObjectName(UB::CHandle* object)
{
    static const QString none;
    const CSceneNode* node = d->state->Find(object);
    const QString& name = node ? node->desc.name : none; // no reference counting per call
    d->Log(
        "GetObjectName", UB::kOk, [&] { return QStringList{d->Handle(object)}; },
        [&] { return CCallJournal::Text(name); });
    return name.toStdWString();
}

UB::Result CSceneModel::GetChildNodes(UB::CHandle* node, HandleList& out)
{
    return d->ListChildren("GetChildNodes", node, out);
}

UB::Result CSceneModel::GetSubNodes(UB::CHandle* node, HandleList& out)
{
    // The scene keeps one structure per node: its sub-nodes are its child nodes.
    return d->ListChildren("GetSubNodes", node, out);
}

UB::Result CSceneModel::Private::ListChildren(const char* call, UB::CHandle* node, HandleList& out)
{
    // As QueryNode, filling `out` in place: a listing asks for every node's children, and
    // copies of the list would cost more than the lookup. A spoiled answer is the list the
    // caller passed in with one garbage handle added.
    UB::Result result;
    if (!TakeFault(call, result, [&] { out.Add(GarbageHandle()); })) {
        if (const CSceneNode* found = state->Find(node)) {
            out.Clear();
            out.Reserve(found->children.size());
            for (CSceneNode* child : found->children)
                out.Add(child);
        } else {
            result = kInvalidHandle;
        }
    }
    Log(
        call, result, [&] { return QStringList{Handle(node)}; }, [&] { return Handles(out); });
    return result;
}

UB::CHandle* CSceneModel::FindNodeByName(UB::CHandle* node, const std::wstring& name)
{
    const QString text = QString::fromStdWString(name);
    CSceneNode* found = d->state->FindBelow(d->state->Find(node), text);
    d->Log(
        "FindNodeByName", UB::kOk,
        [&] {
            return QStringList{d->Handle(node), CCallJournal::Text(text)};
        },
        [&] { return d->Handle(found); });
    return found;
}

bool CSceneModel::IsLinkableNode(UB::CHandle* node)
{
    return d->NodeFlag("IsLinkableNode", node, &CNodeDesc::linkable);
}

bool CSceneModel::IsSubNodeLinkExcluded(UB::CHandle* node)
{
    return d->NodeFlag("IsSubNodeLinkExcluded", node, &CNodeDesc::subNodeLinkExcluded);
}

std::wstring CSceneModel::GetStandardNodeName(int index)
{
    const QString name = d->state->standardNames.value(index);
    d->Log(
        "GetStandardNodeName", UB::kOk, [&] { return QStringList{QString::number(index)}; },
        [&] { return CCallJournal::Text(name); });
    return name.toStdWString();
}

UB::Result CSceneModel::GetNodeOwner(UB::CHandle* node, UB::CHandle*& owner)
{
    return d->QueryNode(
        "GetNodeOwner", node, owner, Private::GarbageHandle(),
        [](const CSceneNode& found) -> UB::CHandle* { return found.owner; },
        [] { return QStringList(); }, [&] { return d->Handle(owner); });
}

UB::Result CSceneModel::GetOwnerRoot(UB::CHandle* node, UB::CHandle*& root)
{
    return d->QueryNode(
        "GetOwnerRoot", node, root, Private::GarbageHandle(),
        [](const CSceneNode& found) -> UB::CHandle* { return found.ownerRoot; },
        [] { return QStringList(); }, [&] { return d->Handle(root); });
}

UB::CHandle* CSceneModel::GetCurrentCamera()
{
    CSceneNode* camera = d->state->camera;
    d->Log(
        "GetCurrentCamera", UB::kOk, [] { return QStringList(); },
        [&] { return d->Handle(camera); });
    return camera;
}

UB::Result CSceneModel::GetLinkParent(UB::CHandle* object, UBTime time, UB::CHandle*& parent)
{
    return d->QueryNode(
        "GetLinkParent", object, parent, Private::GarbageHandle(),
        [time](const CSceneNode& node) -> UB::CHandle* { return node.LinkParentAt(time); },
        [time] { return QStringList{QString::number(time)}; }, [&] { return d->Handle(parent); });
}

UB::Result CSceneModel::GetTransform(UB::CHandle* object, UBTime time, TransformRecord& out)
{
    TransformRecord garbage;
    for (float& field : garbage.position)
        field = std::numeric_limits<float>::quiet_NaN();
    return d->QueryNode(
        "GetTransform", object, out, garbage,
        [this, time](const CSceneNode& node) {
            // The placement in the world; without a parent that is the local record itself.
            return node.LinkParentAt(time) ? d->state->WorldTransformAt(&node, time)
                                           : node.LocalTransformAt(time);
        },
        [time] { return QStringList{QString::number(time)}; },
        [&] { return CCallJournal::Transform(out); });
}

bool CSceneModel::IsLinkBlocked(UB::CHandle* object)
{
    return d->NodeFlag("IsLinkBlocked", object, &CNodeDesc::linkBlocked);
}

EDialogMode CSceneModel::GetDialogMode()
{
    const int mode = d->dialogMode;
    d->Log(
        "GetDialogMode", UB::kOk, [] { return QStringList(); },
        [mode] { return QString::number(mode); });
    return static_cast<EDialogMode>(mode);
}

EPickMode CSceneModel::GetPickMode()
{
    const int mode = d->pickMode;
    d->Log(
        "GetPickMode", UB::kOk, [] { return QStringList(); },
        [mode] { return QString::number(mode); });
    return static_cast<EPickMode>(mode);
}

UB::Result CSceneModel::IsLinkDisabled(UB::CHandle* object, bool& disabled)
{
    return d->QueryNode(
        "IsLinkDisabled", object, disabled, !disabled,
        [](const CSceneNode& node) { return node.desc.linkDisabled; }, [] { return QStringList(); },
        [&] { return CCallJournal::Flag(disabled); });
}

bool CSceneModel::Private::NodeFlag(const char* call, UB::CHandle* handle, bool CNodeDesc::*flag)
{
    const CSceneNode* node = state->Find(handle);
    const bool value = node && node->desc.*flag;
    Log(
        call, UB::kOk, [&] { return QStringList{Handle(handle)}; },
        [value] { return CCallJournal::Flag(value); });
    return value;
}

} // namespace KV
