#pragma once

#include "TreeFloor.h"

#include "KVSceneModel.h"
#include "nodetree/CLinkSubNodeDlg.h"

#include <QTreeWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// The link-to-sub-node dialog on one node structure of the scene model, with the bare tree
// widget that its floors build. Shared by the timing and the memory suites.

/// A node structure an animator links into, at one size.
struct CDialogShape
{
    std::string name;
    std::function<UB::CHandle*(KV::CSceneModel&)> make;
    int nodeCount;
    /// Measured only as the user waits for it, for scaling and depth.
    bool shownOnly = false;
};

/// Rigs and imported models of 1,000, 10,000 and 100,000 nodes; then, shown only, a rig of
/// 300,000 and chains of 50,000 and 100,000 levels.
const std::vector<CDialogShape>& DialogShapes();

/// The dialog needs its layout from the plug-in's resource file.
bool RegisterDialogLayouts();

class CDialogFixture
{
public:
    explicit CDialogFixture(const CDialogShape& shape);
    ~CDialogFixture();

    /// Makes a new dialog on the same scene, as the section's first use of the command does.
    bool MakeDialog();
    /// Makes a new floor window of the same size, so nothing the last floor's view grew is
    /// reused.
    void MakeFloor();
    /// Opens the dialog as the section's command does, up to its first paint: the tree built,
    /// the search emptied, the parent selected, the dialog shown and painted.
    void OpenDialog();
    /// Closes the dialog as OK or Cancel do, and lets the view settle.
    void CloseDialog();
    /// The same for the floor: the bare tree built from the listing's questions to the host,
    /// the parent's item selected, shown, painted.
    void OpenFloor();
    /// The host and the questions the dialog's listing needs, for the floors that list.
    CFloorHost ListingHost();
    /// Shows the dialog, or the bare tree, and paints it; the painted figures keep it shown.
    void ShowDialog();
    void ShowFloor();
    void CloseFloor();
    /// Selects the parent's item in the floor's tree, in the hierarchy or the list, and in
    /// the list scrolls to it, as the dialog's view switch leaves it.
    void SelectFloorParent(bool list);

    const CDialogShape& shape;
    KV::CSceneModel scene;
    UB::CHandle* root = nullptr;
    /// The node the object is linked to: the last one made, deep in a rig, last in a model.
    UB::CHandle* parent = nullptr;
    std::unique_ptr<KV::CLinkSubNodeDlg> dialog;
    bool ready = false;
    /// The floors' window: the dialog's own layout without the plug-in behind it, so opening
    /// it paints the same controls; its tree is the bare tree the floors build.
    std::unique_ptr<QWidget> floorWindow;
    QTreeWidget* floorTree = nullptr;
    CTreeSnapshot snapshot;
    int parentRow = -1; // the parent's index in the snapshot
};

/// The fixture of `shape`, made on first use; only one is kept at a time, and it goes before
/// the application does.
CDialogFixture& DialogFixtureFor(const CDialogShape& shape);
