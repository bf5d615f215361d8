#include "CHostQueries.h"

#include "KVSceneModel.h"

#include <algorithm>
#include <array>

namespace KV {

namespace {

constexpr std::array<int, 19> kLinkableTypes = {1,  2,  3,  4,  5,  7,  8,  14, 15, 18,
                                                19, 21, 23, 24, 25, 41, 45, 46, 54};

} // namespace

CHostQueries::CQuiet::CQuiet(CSceneModel& scene)
    : m_scene(scene)
{
    m_scene.SetJournalEnabled(false);
}

CHostQueries::CQuiet::~CQuiet()
{
    m_scene.SetJournalEnabled(true);
}

CHostQueries::CHostQueries(CSceneModel& scene)
    : m_scene(scene)
{}

UB::Result CHostQueries::Selection(HandleList& out)
{
    const CQuiet quiet(m_scene);
    out.Clear();
    return m_scene.GetSelectedObjects(out, true);
}

UBTime CHostQueries::Now()
{
    const CQuiet quiet(m_scene);
    return m_scene.GetCurrentTime();
}

bool CHostQueries::IsPlaying()
{
    const CQuiet quiet(m_scene);
    return m_scene.IsPlaying();
}

int CHostQueries::PickMode()
{
    const CQuiet quiet(m_scene);
    return m_scene.GetPickMode();
}

int CHostQueries::DialogMode()
{
    const CQuiet quiet(m_scene);
    return m_scene.GetDialogMode();
}

int CHostQueries::ObjectType(UB::CHandle* object)
{
    const CQuiet quiet(m_scene);
    int type = 0;
    m_scene.GetObjectType(object, type);
    return type;
}

int CHostQueries::NodeKind(UB::CHandle* node)
{
    const CQuiet quiet(m_scene);
    int kind = 0;
    m_scene.GetNodeKind(node, kind);
    return kind;
}

bool CHostQueries::IsLinkDisabled(UB::CHandle* object)
{
    const CQuiet quiet(m_scene);
    bool disabled = false;
    m_scene.IsLinkDisabled(object, disabled);
    return disabled;
}

bool CHostQueries::IsLinkBlocked(UB::CHandle* object)
{
    const CQuiet quiet(m_scene);
    return m_scene.IsLinkBlocked(object);
}

bool CHostQueries::IsLinkableNode(UB::CHandle* node)
{
    const CQuiet quiet(m_scene);
    return m_scene.IsLinkableNode(node);
}

bool CHostQueries::IsSubNodeLinkExcluded(UB::CHandle* node)
{
    const CQuiet quiet(m_scene);
    return m_scene.IsSubNodeLinkExcluded(node);
}

UB::Result CHostQueries::LinkParent(UB::CHandle* object, UBTime time, UB::CHandle*& parent)
{
    const CQuiet quiet(m_scene);
    parent = nullptr;
    return m_scene.GetLinkParent(object, time, parent);
}

QString CHostQueries::Name(UB::CHandle* node)
{
    const CQuiet quiet(m_scene);
    return QString::fromStdWString(m_scene.GetObjectName(node));
}

QString CHostQueries::StandardName(int index)
{
    const CQuiet quiet(m_scene);
    return QString::fromStdWString(m_scene.GetStandardNodeName(index));
}

UB::CHandle* CHostQueries::FindNodeByName(UB::CHandle* node, const QString& name)
{
    const CQuiet quiet(m_scene);
    return m_scene.FindNodeByName(node, name.toStdWString());
}

UB::Result CHostQueries::SubNodes(UB::CHandle* node, HandleList& out)
{
    const CQuiet quiet(m_scene);
    out.Clear();
    return m_scene.GetSubNodes(node, out);
}

UB::CHandle* CHostQueries::NodeOwner(UB::CHandle* node)
{
    const CQuiet quiet(m_scene);
    UB::CHandle* owner = nullptr;
    m_scene.GetNodeOwner(node, owner);
    return owner;
}

UB::CHandle* CHostQueries::OwnerRoot(UB::CHandle* node)
{
    const CQuiet quiet(m_scene);
    UB::CHandle* root = nullptr;
    m_scene.GetOwnerRoot(node, root);
    return root;
}

UB::CHandle* CHostQueries::Camera()
{
    const CQuiet quiet(m_scene);
    return m_scene.GetCurrentCamera();
}

TransformRecord CHostQueries::Transform(UB::CHandle* object, UBTime time, UB::Result* result)
{
    const CQuiet quiet(m_scene);
    TransformRecord record;
    *result = m_scene.GetTransform(object, time, record);
    return record;
}

bool CHostQueries::IsLinkableType(int type)
{
    return std::find(kLinkableTypes.begin(), kLinkableTypes.end(), type) != kLinkableTypes.end();
}

bool CHostQueries::CanLink(const HandleList& objects)
{
    for (UB::CHandle* object : objects) {
        if (!IsLinkableType(ObjectType(object)) || IsLinkDisabled(object))
            return false;
    }
    return true;
}

bool CHostQueries::CanLink(UB::CHandle* object)
{
    return CanLink(HandleList{object});
}

} // namespace KV
