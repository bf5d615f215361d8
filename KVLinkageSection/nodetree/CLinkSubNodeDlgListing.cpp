// The sub-node listing rule of the link-to-sub-node dialog: which nodes of the target object
// the tree lists, and how they nest.

#include "nodetree/CLinkSubNodeDlg.h"

#include "host/KVKorvelInterface.h"

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

constexpr int kGripCount = static_cast<int>(sizeof(kGripNames) / sizeof(kGripNames[0]));
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

/// One listing: the work of one outermost AddNodeItem. Each frame stands for a listed node
/// whose levels below are still being visited, and remembers how far it got, as a recursive
/// call's locals would.
class CLinkSubNodeDlg::CListing
{
public:
    CListing(CLinkSubNodeDlg& dialog, CSceneManager& scene, QTreeWidget* tree)
        : m_dialog(dialog)
        , m_scene(scene)
        , m_tree(tree)
        , m_hierarchy(dialog.hierarchyView)
    {
        // The host's names do not change while a listing runs; they are asked once.
        m_body = m_scene.GetStandardNodeName(kBodyName);
        for (int i = 0; i < kGripCount; ++i)
            m_grips[i] = m_scene.GetStandardNodeName(kGripNames[i]);
        m_skeletonGroup = m_scene.GetStandardNodeName(kSkeletonGroupName);
        m_helper = m_scene.GetStandardNodeName(kHelperName);
    }

    QTreeWidgetItem* Run(UB::CHandle* node, QTreeWidgetItem* parentItem, bool typeSixOnly)
    {
        QTreeWidgetItem* item = Visit(node, nullptr, parentItem, typeSixOnly);
        while (!m_frames.empty())
            Advance();
        return item;
    }

private:
    enum class EStage
    {
        Grips,    // a body's grips are looked up and listed one by one
        SubNodes, // the sub-nodes are read
        Children  // the sub-nodes are listed one by one
    };

    struct CFrame
    {
        UB::CHandle* node = nullptr;
        /// Where the levels below go: the node's item, or the top level in the list view.
        QTreeWidgetItem* childParent = nullptr;
        bool typeSixOnly = false;
        EStage stage = EStage::SubNodes;
        int nextGrip = 0;
        HandleList subNodes;
        int nextSubNode = 0;
    };

    /// Lists `node` under `parentItem` and, unless nothing below it may be listed, leaves a
    /// frame for the levels below. `knownName` spares asking for a name already asked for.
    QTreeWidgetItem* Visit(UB::CHandle* node, const std::wstring* knownName,
                           QTreeWidgetItem* parentItem, bool typeSixOnly)
    {
        if (node == nullptr)
            return nullptr;
        int kind = 0;
        m_scene.GetNodeKind(node, kind);
        if (IsUnlistedKind(kind))
            return nullptr;
        const bool linkable = m_scene.IsLinkableNode(node);
        const bool excluded = m_scene.IsSubNodeLinkExcluded(node);
        if (!linkable && !excluded)
            return nullptr;

        QTreeWidgetItem* item = m_dialog.CreateNodeItem(node, m_tree, parentItem);
        if (excluded)
            return item; // offered itself, but nothing below it is

        CFrame frame;
        frame.node = node;
        frame.childParent = m_hierarchy ? item : nullptr;
        frame.typeSixOnly = typeSixOnly;
        int type = 0;
        m_scene.GetObjectType(node, type);
        if (IsBodyType(type)) {
            const bool body =
                (knownName != nullptr ? *knownName : m_scene.GetObjectName(node)) == m_body;
            if (body)
                frame.stage = EStage::Grips;
        }
        m_frames.push_back(std::move(frame));
        return item;
    }

    /// One step of the top frame. A step that lists a node may push its frame, which then
    /// runs before this one goes on: the order of recursion.
    void Advance()
    {
        CFrame& frame = m_frames.back();
        switch (frame.stage) {
        case EStage::Grips:
            if (frame.nextGrip < kGripCount) {
                UB::CHandle* grip = m_scene.FindNodeByName(frame.node, m_grips[frame.nextGrip++]);
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

        if (frame.nextSubNode >= frame.subNodes.GetCount()) {
            m_frames.pop_back();
            return;
        }
        UB::CHandle* subNode = frame.subNodes[frame.nextSubNode++];
        const std::wstring name = m_scene.GetObjectName(subNode);
        if (name == m_helper)
            return; // helpers are never link targets, nor is anything below them
        QTreeWidgetItem* childParent = frame.childParent;
        if (frame.typeSixOnly) {
            int type = 0;
            m_scene.GetObjectType(subNode, type);
            if (type == kSubNodeType)
                Visit(subNode, &name, childParent, false);
        } else {
            Visit(subNode, &name, childParent, name == m_body);
        }
    }

    /// The sub-nodes to list below the frame's node; a lone skeleton group gives its own
    /// sub-nodes in its place. False when the host cannot tell.
    bool ReadSubNodes(CFrame& frame)
    {
        frame.subNodes.Clear();
        if (m_scene.GetSubNodes(frame.node, frame.subNodes).IsFailed())
            return false;
        if (frame.subNodes.GetCount() == 1 &&
            m_scene.GetObjectName(frame.subNodes[0]) == m_skeletonGroup) {
            UB::CHandle* group = frame.subNodes[0];
            frame.subNodes.Clear();
            if (m_scene.GetSubNodes(group, frame.subNodes).IsFailed())
                return false;
        }
        return true;
    }

    CLinkSubNodeDlg& m_dialog;
    CSceneManager& m_scene;
    QTreeWidget* m_tree;
    const bool m_hierarchy;
    std::wstring m_body;
    std::wstring m_grips[kGripCount];
    std::wstring m_skeletonGroup;
    std::wstring m_helper;
    std::vector<CFrame> m_frames;
};

QTreeWidgetItem* CLinkSubNodeDlg::AddNodeItem(UB::CHandle* node, QTreeWidget* tree,
                                              QTreeWidgetItem* parentItem, bool typeSixOnly)
{
    if (node == nullptr || m_host == nullptr)
        return nullptr;
    CSceneManager* scene = m_host->GetSceneManager();
    if (scene == nullptr)
        return nullptr;
    CListing listing(*this, *scene, tree);
    return listing.Run(node, parentItem, typeSixOnly);
}

} // namespace KV
