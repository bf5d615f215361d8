#pragma once

#include "host/UBTypes.h"
#include "nodetree/CLinktoSub_NodeUiComponent.h"
#include "nodetree/CNodeStructureDlg.h"
#include "nodetree/CSubNodeListing.h"

class QMenu;
class QShowEvent;

namespace KV {

/// The modal dialog in which the user picks the node of a target object that the selected
/// object is linked to, and how it is aligned to that node: not at all, by position, or by
/// position and rotation.
///
/// Every change of the picked node or of the alignment is previewed on the scene at once: the
/// object gets its saved transform back and is linked to its previous parent again, and with
/// an alignment chosen it is then linked to the picked node with that alignment. The
/// previews are neither committed nor announced to the host's listeners; the launcher makes
/// the final link after OK, or restores the previous parent and transform after Cancel.
///
/// The tree lists the target's nodes by the sub-node listing rule (AddNodeItem), as a
/// hierarchy or as a flat list, and can be searched, expanded and collapsed.
class CLinkSubNodeDlg : public CNodeStructureDlg
{
    Q_OBJECT
public:
    explicit CLinkSubNodeDlg(QWidget* parent);
    ~CLinkSubNodeDlg() override;

    /// Builds the layout, binds its widgets, connects the handlers, makes the view menu and
    /// sets the starting state: hierarchy view, Hierarchy and Expand checked, no alignment.
    /// Returns 0, 0x80000003 without a host or with a layout that lacks a bound object (the
    /// framework names the missing ones), or the framework's code for a layout it cannot load.
    virtual UB::Result Initialize(const QString& coreString, CKorvelInterface* host);

    QAbstractButton* GetCancelButton() override;
    QAbstractButton* GetOkButton() override;
    QTreeWidget* GetTreeWidget() override;

    /// Lists `node` and the levels below it by the sub-node listing rule (CSubNodeListing),
    /// nested in the hierarchy view and all at the top level in the list view. Null when the
    /// node is not listed.
    QTreeWidgetItem* AddNodeItem(UB::CHandle* node, QTreeWidget* tree, QTreeWidgetItem* parentItem,
                                 bool typeSixOnly) override;

    /// Empties the search field; when it held text, the tree shows every node again and its
    /// first item is selected and previewed.
    void ClearSearch();

    // ---- Handlers ---------------------------------------------------------------------------

    void OnAlignPos();
    void OnAlignPosRot();
    void OnNoAlign();
    /// With exactly one item selected: records its node as the chosen node and previews.
    void OnTreeSelectionChanged();
    void OnViewMenuAboutToShow();
    void OnSearchTextChanged(const QString& text);
    void OnHierarchyView();
    void OnListView();
    void OnExpandAll();
    void OnCollapseAll();

    // ---- Read and written by the launcher ---------------------------------------------------

    /// 0 no alignment, 1 position, 2 position and rotation.
    int alignMode = 0;
    /// The selected object's transform when the dialog opened; handed back whole.
    TransformRecord savedTransform;
    /// The selected object's link parent when the dialog opened.
    UB::CHandle* previousParent = nullptr;

protected:
    /// Every opening starts without alignment. The framework dialog's show handling is not
    /// run.
    void showEvent(QShowEvent* event) override;

private:
    void SetAlignMode(int mode);
    /// Records the node of `item`, the one selected item, as the chosen node and previews it.
    void PreviewItem(QTreeWidgetItem* item);
    /// Lists the last root anew in the current view and selects the previously selected
    /// nodes again.
    void RebuildTree();
    /// Checks `on` and unchecks `off`, touching only what differs.
    static void CheckOneOf(QAction* on, QAction* off);

    CLinktoSub_NodeUiComponent ui;
    /// True: hierarchy view; false: flat list view.
    bool hierarchyView = true;
    /// The view menu of qtObjectTreeToolButton, which owns it.
    QMenu* viewMenu = nullptr;
    CSubNodeListing m_listing;
};

} // namespace KV
