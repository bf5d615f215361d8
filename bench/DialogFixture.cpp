#include "DialogFixture.h"

#include "SceneShapes.h"

#include "nodetree/CNodeHandleValue.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QResource>

#include <algorithm>

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
        return made;
    }();
    return shapes;
}

bool RegisterDialogLayouts()
{
    static const bool registered = QResource::registerResource(QStringLiteral(KV_RESOURCE_FILE));
    return registered;
}

CDialogFixture::CDialogFixture(const CDialogShape& desc)
    : shape(desc)
{
    scene.SetJournalEnabled(false);
    root = shape.make(scene);
    snapshot = TakeSnapshot(scene, root);
    parentRow = static_cast<int>(snapshot.texts.size()) - 1;
    parent = KV::CNodeHandleValue::FromVariant(snapshot.data[static_cast<std::size_t>(parentRow)]);
    ready = MakeDialog();
    floorTree.header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    floorTree.header()->setStretchLastSection(false);
    if (ready)
        floorTree.resize(dialog->GetTreeWidget()->size());
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
    QCoreApplication::processEvents();
}

void CDialogFixture::CloseDialog()
{
    dialog->hide();
    QCoreApplication::processEvents();
}

void CDialogFixture::OpenFloor()
{
    BuildFloorTree(floorTree, snapshot);
    SelectFloorParent(false);
    floorTree.show();
    QCoreApplication::processEvents();
}

void CDialogFixture::SelectFloorParent(bool list)
{
    // The parent is the last item in pre-order: the last one of the list, or the last child
    // all the way down the hierarchy.
    QTreeWidgetItem* item = floorTree.topLevelItem(floorTree.topLevelItemCount() - 1);
    while (!list && item != nullptr && item->childCount() > 0)
        item = item->child(item->childCount() - 1);
    if (item == nullptr)
        return;
    item->setSelected(true);
    if (list)
        floorTree.scrollToItem(item, QAbstractItemView::EnsureVisible);
    else
        floorTree.setCurrentItem(item);
}

void CDialogFixture::CloseFloor()
{
    floorTree.hide();
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
