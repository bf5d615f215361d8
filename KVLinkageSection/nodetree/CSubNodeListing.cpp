#include "nodetree/CSubNodeListing.h"

#include "host/KVKorvelInterface.h"
#include "nodetree/CNodeTreeWidgetTool.h"

#include <string>
#include <utility>
#include <vector>

namespace KV {

namespace {

// The host's well-known node names the rule looks for, by their numbers.
constexpr int kBodyName = 0;
constexpr int kGripNames[] = {55, 56, 57};
constexpr int kSkeletonGroupName = 58;
constexpr int kHelperName = 59;

constexpr int kSubNodeType = 6;

bool IsUnlistedKind(int kind)
{
    return kind == 4 || kind == 8 || kind == 17;
}

bool IsBodyType(int type)
{
    return type == 1 || type == 2;
}

} // namespace

static_assert(sizeof(kGripNames) / sizeof(kGripNames[0]) == 3, "three grips are looked up");

CSubNodeListing::CSubNodeListing() = default;

CSubNodeListing::~CSubNodeListing() = default;

QTreeWidgetItem* CSubNodeListing::Run(CNodeTreeWidgetTool& tool, CSceneManager& scene,
                                      QTreeWidget* tree, bool hierarchy, UB::CHandle* node,
                                      QTreeWidgetItem* parentItem, bool typeSixOnly)
{
    m_tool = &tool;
    m_scene = &scene;
    m_tree = tree;
    m_hierarchy = hierarchy;
    // The host's names do not change while a listing runs; they are asked once.
    m_body = scene.GetStandardNodeName(kBodyName);
    for (int i = 0; i < kGripCount; ++i)
        m_grips[i] = scene.GetStandardNodeName(kGripNames[i]);
    m_skeletonGroup = scene.GetStandardNodeName(kSkeletonGroupName);
    m_helper = scene.GetStandardNodeName(kHelperName);

    m_frames.clear();
    m_subNodes.clear();
    QTreeWidgetItem* item = Visit(node, nullptr, parentItem, typeSixOnly);
    while (!m_frames.empty())
        Advance();
    return item;
}

/// Lists `node` under `parentItem` and, unless nothing below it may be listed, leaves a
/// frame for the levels below. `knownName` spares asking for a name already asked for.
QTreeWidgetItem* CSubNodeListing::Visit(UB::CHandle* node, const std::wstring* knownName,
                                        QTreeWidgetItem* parentItem, bool typeSixOnly)
{
    if (node == nullptr)
        return nullptr;
    int kind = 0;
    m_scene->GetNodeKind(node, kind);
    if (IsUnlistedKind(kind))
        return nullptr;
    const bool linkable = m_scene->IsLinkableNode(node);
    const bool excluded = m_scene->IsSubNodeLinkExcluded(node);
    if (!linkable && !excluded)
        return nullptr;

    QTreeWidgetItem* item = m_tool->CreateNodeItem(node, m_tree, parentItem);
    if (excluded)
        return item; // offered itself, but nothing below it is

    CFrame frame;
    frame.node = node;
    frame.childParent = m_hierarchy ? item : nullptr;
    frame.typeSixOnly = typeSixOnly;
    int type = 0;
    m_scene->GetObjectType(node, type);
    if (IsBodyType(type)) {
        const bool body =
            (knownName != nullptr ? *knownName : m_scene->GetObjectName(node)) == m_body;
        if (body)
            frame.stage = EStage::Grips;
    }
    m_frames.push_back(std::move(frame));
    return item;
}

/// One step of the top frame. A step that lists a node may push its frame, which then
/// runs before this one goes on: the order of recursion.
void CSubNodeListing::Advance()
{
    CFrame& frame = m_frames.back();
    switch (frame.stage) {
    case EStage::Grips:
        if (frame.nextGrip < kGripCount) {
            UB::CHandle* grip = m_scene->FindNodeByName(frame.node, m_grips[frame.nextGrip++]);
            if (grip != nullptr)
                Visit(grip, nullptr, frame.childParent, true); // `frame` may move
        } else {
            frame.stage = EStage::SubNodes;
        }
        return;
    case EStage::SubNodes:
        if (ReadSubNodes(frame))
            frame.stage = EStage::Children;
        else
            m_frames.pop_back(); // a failed query leaves the node without children
        return;
    case EStage::Children:
        break;
    }

    if (frame.nextSubNode >= m_subNodes.size()) {
        m_subNodes.resize(frame.firstSubNode);
        m_frames.pop_back();
        return;
    }
    const bool lone = frame.loneNameKnown && frame.nextSubNode == frame.firstSubNode;
    UB::CHandle* subNode = m_subNodes[frame.nextSubNode++];
    const std::wstring name = lone ? std::move(frame.loneName) : m_scene->GetObjectName(subNode);
    if (name == m_helper)
        return; // helpers are never link targets, nor is anything below them
    QTreeWidgetItem* childParent = frame.childParent;
    if (frame.typeSixOnly) {
        int type = 0;
        m_scene->GetObjectType(subNode, type);
        if (type == kSubNodeType)
            Visit(subNode, &name, childParent, false);
    } else {
        Visit(subNode, &name, childParent, name == m_body);
    }
}

/// Reads the sub-nodes to list below the frame's node onto m_subNodes; a lone skeleton
/// group gives its own sub-nodes in its place. False when the host cannot tell.
bool CSubNodeListing::ReadSubNodes(CFrame& frame)
{
    HandleList& read = m_readBuffer;
    read.Clear();
    if (m_scene->GetSubNodes(frame.node, read).IsFailed())
        return false;
    if (read.GetCount() == 1) {
        std::wstring name = m_scene->GetObjectName(read[0]);
        if (name == m_skeletonGroup) {
            UB::CHandle* group = read[0];
            read.Clear();
            if (m_scene->GetSubNodes(group, read).IsFailed())
                return false;
        } else {
            frame.loneName = std::move(name);
            frame.loneNameKnown = true;
        }
    }
    frame.firstSubNode = frame.nextSubNode = m_subNodes.size();
    m_subNodes.insert(m_subNodes.end(), read.begin(), read.end());
    return true;
}

} // namespace KV
