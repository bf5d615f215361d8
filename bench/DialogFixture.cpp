#include "DialogFixture.h"

#include "SceneShapes.h"

#include "nodetree/CNodeHandleValue.h"
#include "nodetree/CTreeDepthLimit.h"

#include <QCoreApplication>
#include <QFile>
#include <QHeaderView>
#include <QResource>
#include <QUiLoader>

#include <algorithm>

namespace {

const char kDialogLayoutPath[] = ":/plugin/KVLinkageSection/LinktoSub_Node.ui";
const char kTreeName[] = "qtObjectTreeWidget";

} // namespace

const std::vector<CDialogShape>& DialogShapes()
{
    static const std::vector<CDialogShape> shapes = [] {
        std::vector<CDialogShape> made;
        for (int count : {1000, 10000, 100000}) {
            const std::string size = std::to_string(count);
            made.push_back({"rig_" + size,
                            [count](KV::CSceneModel& s) {
                                return AddRigOfSize(s, count, QStringLiteral("bone"));
                            },
                            count});
            made.push_back({"import_" + size,
                            [count](KV::CSceneModel& s) {
                                return AddImportedModel(s, count, QStringLiteral("mesh"));
                            },
                            count});
        }
        made.push_back(
            {"rig_300000",
             [](KV::CSceneModel& s) { return AddRigOfSize(s, 300000, QStringLiteral("bone")); },
             300000, true});
        for (int depth : {50000, 100000}) {
            made.push_back(
                {"chain_" + std::to_string(depth),
                 [depth](KV::CSceneModel& s) { return AddChain(s, depth, QStringLiteral("link")); },
                 depth, true});
        }
        return made;
    }();
    return shapes;
}

bool RegisterDialogLayouts()
{
    static const bool registered = QResource::registerResource(QStringLiteral(KV_RESOURCE_FILE));
    return registered;
}

namespace {

/// The dialog's layout as a plain window, or a lone tree when the layout cannot be read.
std::unique_ptr<QWidget> LoadFloorWindow()
{
    QFile layout(QString::fromLatin1(kDialogLayoutPath));
    std::unique_ptr<QWidget> window;
    if (RegisterDialogLayouts() && layout.open(QIODevice::ReadOnly))
        window.reset(QUiLoader().load(&layout));
    if (window == nullptr || window->findChild<QTreeWidget*>(kTreeName) == nullptr)
        window = std::make_unique<QTreeWidget>();
    return window;
}

QTreeWidget& FloorTreeOf(QWidget& window)
{
    auto* tree = window.findChild<QTreeWidget*>(kTreeName);
    return tree != nullptr ? *tree : static_cast<QTreeWidget&>(window);
}

} // namespace

CDialogFixture::CDialogFixture(const CDialogShape& desc)
    : shape(desc)
{
    scene.SetJournalEnabled(false);
    root = shape.make(scene);
    snapshot = TakeSnapshot(scene, root);
    parentRow = static_cast<int>(snapshot.texts.size()) - 1;
    parent = KV::CNodeHandleValue::FromVariant(snapshot.data[static_cast<std::size_t>(parentRow)]);
    ready = MakeDialog();
    MakeFloor();
    // The window is sized so that its tree gets the size the dialog's tree has once shown;
    // the dialog holds the layout with margins of its own.
    if (ready) {
        dialog->show();
        floorWindow->resize(dialog->size());
        floorWindow->show();
        QCoreApplication::processEvents();
        floorWindow->resize(floorWindow->size() + dialog->GetTreeWidget()->size() -
                            floorTree->size());
        QCoreApplication::processEvents();
        dialog->hide();
        floorWindow->hide();
        QCoreApplication::processEvents();
    }
}

CDialogFixture::~CDialogFixture()
{
    ClearFloor(*floorTree);
}

void CDialogFixture::MakeFloor()
{
    const QSize size = floorWindow != nullptr ? floorWindow->size() : QSize();
    if (floorTree != nullptr)
        ClearFloor(*floorTree);
    floorWindow.reset();
    floorWindow = LoadFloorWindow();
    floorTree = &FloorTreeOf(*floorWindow);
    floorTree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    floorTree->header()->setStretchLastSection(false);
    if (size.isValid())
        floorWindow->resize(size);
}

bool CDialogFixture::MakeDialog()
{
    dialog.reset();
    dialog = std::make_unique<KV::CLinkSubNodeDlg>(nullptr);
    return RegisterDialogLayouts() && dialog->Initialize(QString(), &scene) == UB::kOk;
}

void CDialogFixture::OpenDialog()
{
    dialog->BuildTree(root, false);
    dialog->ClearSearch();
    dialog->SelectNode(parent);
    dialog->show();
    PaintNow(*dialog->GetTreeWidget());
}

void CDialogFixture::ShowDialog()
{
    dialog->show();
    PaintNow(*dialog->GetTreeWidget());
}

void CDialogFixture::ShowFloor()
{
    floorWindow->show();
    PaintNow(*floorTree);
}

void CDialogFixture::CloseDialog()
{
    dialog->hide();
    QCoreApplication::processEvents();
}

CFloorHost CDialogFixture::ListingHost()
{
    return {scene.GetSceneManager(), EHostQuestions::SubNodeListing};
}

void CDialogFixture::OpenFloor()
{
    BuildFloorTree(*floorTree, snapshot, ListingHost());
    SelectFloorParent(false);
    floorWindow->show();
    PaintNow(*floorTree);
}

void CDialogFixture::SelectFloorParent(bool list)
{
    // The parent is the last item in pre-order: the last one of the list, or the last child
    // all the way down the hierarchy.
    QTreeWidgetItem* item = floorTree->topLevelItem(floorTree->topLevelItemCount() - 1);
    while (!list && item != nullptr && item->childCount() > 0)
        item = item->child(item->childCount() - 1);
    if (item == nullptr)
        return;
    item->setSelected(true);
    if (list) {
        floorTree->scrollToItem(item, QAbstractItemView::EnsureVisible);
        return;
    }
    // Scrolling to an item past the depth limit would expand all its ancestors.
    const bool scroll =
        snapshot.depths[std::size_t(parentRow)] <= KV::CTreeDepthLimit::kMaxExpandedDepth;
    floorTree->setAutoScroll(scroll);
    floorTree->setCurrentItem(item);
    floorTree->setAutoScroll(true);
}

void CDialogFixture::CloseFloor()
{
    floorWindow->hide();
    QCoreApplication::processEvents();
}

namespace {

std::unique_ptr<CDialogFixture> currentFixture;

/// Widgets have to go while the application still exists.
void ReleaseFixture()
{
    currentFixture.reset();
}

} // namespace

CDialogFixture& DialogFixtureFor(const CDialogShape& shape)
{
    if (currentFixture == nullptr || &currentFixture->shape != &shape) {
        if (currentFixture == nullptr)
            qAddPostRoutine(&ReleaseFixture);
        currentFixture.reset();
        currentFixture = std::make_unique<CDialogFixture>(shape);
    }
    return *currentFixture;
}
