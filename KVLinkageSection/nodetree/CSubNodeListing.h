#pragma once

#include "host/UBTypes.h"

#include <cstddef>
#include <string>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

namespace UB {
class CHandle;
}

namespace KV {

class CNodeTreeWidgetTool;
class CSceneManager;

/// The sub-node listing rule of the link-to-sub-node dialog: which nodes of a target object
/// its tree lists, and how they nest.
///
/// A node is left out, with everything below it, when its node kind is 4, 8 or 17, or when
/// the host neither lets it be linked to nor excludes it from sub-node linking. An excluded
/// node is listed without anything below it. Below a body (an object of type 1 or 2 named by
/// standard name 0) its grips (standard names 55 to 57) come first, each with only its
/// sub-nodes of type 6; then the sub-nodes follow, those of a lone skeleton group (standard
/// name 58) in its place, helpers (standard name 59) left out, and only those of type 6 below
/// a node reached by the body's name. Listed twice, a node gets two items.
///
/// The levels below a node are visited from work stacks, not by recursion, so the depth of a
/// structure costs no stack; the items and the host's questions come in the order recursion
/// would give them. The stacks keep their room from one listing to the next.
class CSubNodeListing
{
public:
    CSubNodeListing();
    ~CSubNodeListing();
    CSubNodeListing(const CSubNodeListing&) = delete;
    CSubNodeListing& operator=(const CSubNodeListing&) = delete;

    /// Lists `node` and what lies below it through `tool`'s CreateNodeItem: under
    /// `parentItem`, or at the top level of `tree`; the levels below nest under their
    /// parents' items in the hierarchy view (`hierarchy`) and go to the top level otherwise.
    /// Returns the node's item, null when the node is not listed.
    QTreeWidgetItem* Run(CNodeTreeWidgetTool& tool, CSceneManager& scene, QTreeWidget* tree,
                         bool hierarchy, UB::CHandle* node, QTreeWidgetItem* parentItem,
                         bool typeSixOnly);

private:
    static constexpr int kGripCount = 3;

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
        /// The node's sub-nodes are m_subNodes from `firstSubNode` to the end while the frame
        /// is on top; the frames above it have taken theirs away again.
        std::size_t firstSubNode = 0;
        std::size_t nextSubNode = 0;
        /// The name of a lone sub-node, asked already to tell a skeleton group.
        std::wstring loneName;
        bool loneNameKnown = false;
    };

    QTreeWidgetItem* Visit(UB::CHandle* node, const std::wstring* knownName,
                           QTreeWidgetItem* parentItem, bool typeSixOnly);
    void Advance();
    bool ReadSubNodes(CFrame& frame);

    // Set for one listing.
    CNodeTreeWidgetTool* m_tool = nullptr;
    CSceneManager* m_scene = nullptr;
    QTreeWidget* m_tree = nullptr;
    bool m_hierarchy = true;
    std::wstring m_body;
    std::wstring m_grips[kGripCount];
    std::wstring m_skeletonGroup;
    std::wstring m_helper;

    // Kept from one listing to the next for their room.
    std::vector<CFrame> m_frames;
    /// The sub-nodes still to list, of every frame, stacked like the frames.
    std::vector<UB::CHandle*> m_subNodes;
    UB::CArrayList<UB::CHandle*> m_readBuffer;
};

} // namespace KV
