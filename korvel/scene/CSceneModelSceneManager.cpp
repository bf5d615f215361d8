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
    UB::Result result;
    if (!d->TakeFault("GetObjectType", result, [&] { type = kGarbageNumber; })) {
        if (const CSceneNode* node = d->state->Find(object))
            type = node->desc.objectType;
        else
            result = kInvalidHandle;
    }
    d->Log(
        "GetObjectType", result, [&] { return QStringList{d->Handle(object)}; },
        [&] { return QString::number(type); });
    return result;
}

UB::Result CSceneModel::GetNodeKind(UB::CHandle* node, int& kind)
{
    UB::Result result;
    if (!d->TakeFault("GetNodeKind", result, [&] { kind = kGarbageNumber; })) {
        if (const CSceneNode* found = d->state->Find(node))
            kind = found->desc.nodeKind;
        else
            result = kInvalidHandle;
    }
    d->Log(
        "GetNodeKind", result, [&] { return QStringList{d->Handle(node)}; },
        [&] { return QString::number(kind); });
    return result;
}

std::wstring CSceneModel::GetObjectName(UB::CHandle* object)
{
    const CSceneNode* node = d->state->Find(object);
    const QString name = node ? node->desc.name : QString();
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
    UB::Result result;
    if (!TakeFault(call, result, [&] { out.Add(GarbageHandle()); })) {
        if (const CSceneNode* found = state->Find(node)) {
            out.Clear();
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
    const CSceneNode* found = d->state->Find(node);
    const bool linkable = found && found->desc.linkable;
    d->Log(
        "IsLinkableNode", UB::kOk, [&] { return QStringList{d->Handle(node)}; },
        [&] { return CCallJournal::Flag(linkable); });
    return linkable;
}

bool CSceneModel::IsSubNodeLinkExcluded(UB::CHandle* node)
{
    const CSceneNode* found = d->state->Find(node);
    const bool excluded = found && found->desc.subNodeLinkExcluded;
    d->Log(
        "IsSubNodeLinkExcluded", UB::kOk, [&] { return QStringList{d->Handle(node)}; },
        [&] { return CCallJournal::Flag(excluded); });
    return excluded;
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
    UB::Result result;
    if (!d->TakeFault("GetNodeOwner", result, [&] { owner = Private::GarbageHandle(); })) {
        if (const CSceneNode* found = d->state->Find(node))
            owner = found->owner;
        else
            result = kInvalidHandle;
    }
    d->Log(
        "GetNodeOwner", result, [&] { return QStringList{d->Handle(node)}; },
        [&] { return d->Handle(owner); });
    return result;
}

UB::Result CSceneModel::GetOwnerRoot(UB::CHandle* node, UB::CHandle*& root)
{
    UB::Result result;
    if (!d->TakeFault("GetOwnerRoot", result, [&] { root = Private::GarbageHandle(); })) {
        if (const CSceneNode* found = d->state->Find(node))
            root = found->ownerRoot;
        else
            result = kInvalidHandle;
    }
    d->Log(
        "GetOwnerRoot", result, [&] { return QStringList{d->Handle(node)}; },
        [&] { return d->Handle(root); });
    return result;
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
    UB::Result result;
    if (!d->TakeFault("GetLinkParent", result, [&] { parent = Private::GarbageHandle(); })) {
        if (const CSceneNode* node = d->state->Find(object))
            parent = node->LinkParentAt(time);
        else
            result = kInvalidHandle;
    }
    d->Log(
        "GetLinkParent", result,
        [&] {
            return QStringList{d->Handle(object), QString::number(time)};
        },
        [&] { return d->Handle(parent); });
    return result;
}

UB::Result CSceneModel::GetTransform(UB::CHandle* object, UBTime time, TransformRecord& out)
{
    UB::Result result;
    if (!d->TakeFault("GetTransform", result, [&] {
            for (float& field : out.position)
                field = std::numeric_limits<float>::quiet_NaN();
        })) {
        if (const CSceneNode* node = d->state->Find(object))
            out = node->LocalTransformAt(time);
        else
            result = kInvalidHandle;
    }
    d->Log(
        "GetTransform", result,
        [&] {
            return QStringList{d->Handle(object), QString::number(time)};
        },
        [&] { return CCallJournal::Transform(out); });
    return result;
}

bool CSceneModel::IsLinkBlocked(UB::CHandle* object)
{
    const CSceneNode* node = d->state->Find(object);
    const bool blocked = node && node->desc.linkBlocked;
    d->Log(
        "IsLinkBlocked", UB::kOk, [&] { return QStringList{d->Handle(object)}; },
        [&] { return CCallJournal::Flag(blocked); });
    return blocked;
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
    UB::Result result;
    if (!d->TakeFault("IsLinkDisabled", result, [&] { disabled = !disabled; })) {
        if (const CSceneNode* node = d->state->Find(object))
            disabled = node->desc.linkDisabled;
        else
            result = kInvalidHandle;
    }
    d->Log(
        "IsLinkDisabled", result, [&] { return QStringList{d->Handle(object)}; },
        [&] { return CCallJournal::Flag(disabled); });
    return result;
}

} // namespace KV
