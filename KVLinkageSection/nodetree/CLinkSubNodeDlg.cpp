#include "nodetree/CLinkSubNodeDlg.h"

#include "host/KVKorvelInterface.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QTreeWidget>
#include <QtDebug>

#include <unordered_set>
#include <vector>

namespace KV {

namespace {

const char kDialogLayout[] = ":/plugin/KVLinkageSection/LinktoSub_Node.ui";
const char kLayoutSettings[] = ":/plugin/KVLinkageSection/LayoutUI.ini";

constexpr int kNoAlign = 0;
constexpr int kAlignPosition = 1;
constexpr int kAlignPositionAndRotation = 2;

} // namespace

CLinkSubNodeDlg::CLinkSubNodeDlg(QWidget* parent)
    : CNodeStructureDlg(parent)
{}

CLinkSubNodeDlg::~CLinkSubNodeDlg() = default;

// ---- Set-up ---------------------------------------------------------------------------------

UB::Result CLinkSubNodeDlg::Initialize(const QString& coreString, CKorvelInterface* host)
{
    const UB::Result built = InitDialogUi(QLatin1String(kDialogLayout), coreString,
                                          QLatin1String(kLayoutSettings), &ui, host);
    if (built.IsFailed())
        return built;
    // Every handler works on these objects; the framework has named the missing ones. The
    // dialog then stays a plain node picker: OK and Cancel, as far as the layout has them.
    if (!m_builder.GetMissingNames().isEmpty()) {
        qWarning("KVLinkageSection: the layout '%s' is incomplete; the link-to-sub-node dialog "
                 "offers no alignment, preview, search or views",
                 kDialogLayout);
        return UB::kNotCreated;
    }

    connect(ui.qtAlignPos, &QRadioButton::toggled, this, &CLinkSubNodeDlg::OnAlignPos);
    connect(ui.qtAlignPosRot, &QRadioButton::toggled, this, &CLinkSubNodeDlg::OnAlignPosRot);
    connect(ui.qtNoAlign, &QRadioButton::toggled, this, &CLinkSubNodeDlg::OnNoAlign);
    connect(ui.qtObjectTreeWidget, &QTreeWidget::itemSelectionChanged, this,
            &CLinkSubNodeDlg::OnTreeSelectionChanged);

    alignMode = kNoAlign;
    {
        const QSignalBlocker blocker(ui.qtNoAlign);
        ui.qtNoAlign->setChecked(true);
    }

    HandleList selection;
    host->GetSceneManager()->GetSelectedObjects(selection, true); // none: no transform to read
    if (!selection.IsEmpty()) {
        const UBTime now = host->GetSceneManager()->GetCurrentTime();
        host->GetSceneManager()->GetTransform(selection[0], now, savedTransform);
    }

    viewMenu = new QMenu(ui.qtObjectTreeToolButton);
    ui.qtObjectTreeToolButton->setMenu(viewMenu);
    ui.qtObjectTreeToolButton->setPopupMode(QToolButton::InstantPopup);
    ui.qtObjectTreeToolButton->setArrowType(Qt::NoArrow);

    connect(viewMenu, &QMenu::aboutToShow, this, &CLinkSubNodeDlg::OnViewMenuAboutToShow);
    connect(ui.qtObjectTreeSearchLineEdit, &QLineEdit::textChanged, this,
            &CLinkSubNodeDlg::OnSearchTextChanged);

    viewMenu->addAction(ui.qtHierarchyAction);
    connect(ui.qtHierarchyAction, &QAction::triggered, this, &CLinkSubNodeDlg::OnHierarchyView);
    viewMenu->addAction(ui.qtListAction);
    connect(ui.qtListAction, &QAction::triggered, this, &CLinkSubNodeDlg::OnListView);
    viewMenu->addSeparator();
    viewMenu->addAction(ui.qtExpandAction);
    connect(ui.qtExpandAction, &QAction::triggered, this, &CLinkSubNodeDlg::OnExpandAll);
    viewMenu->addAction(ui.qtCollapseAction);
    connect(ui.qtCollapseAction, &QAction::triggered, this, &CLinkSubNodeDlg::OnCollapseAll);

    // Checking programmatically triggers nothing, so no handler runs.
    ui.qtHierarchyAction->setChecked(true);
    ui.qtExpandAction->setChecked(true);
    return UB::kOk;
}

QAbstractButton* CLinkSubNodeDlg::GetCancelButton()
{
    return ui.qtCancelPushButton;
}

QAbstractButton* CLinkSubNodeDlg::GetOkButton()
{
    return ui.qtOKPushButton;
}

QTreeWidget* CLinkSubNodeDlg::GetTreeWidget()
{
    return ui.qtObjectTreeWidget;
}

QTreeWidgetItem* CLinkSubNodeDlg::AddNodeItem(UB::CHandle* node, QTreeWidget* tree,
                                              QTreeWidgetItem* parentItem, bool typeSixOnly)
{
    CSceneManager* scene = m_host != nullptr ? m_host->GetSceneManager() : nullptr;
    if (node == nullptr || scene == nullptr)
        return nullptr;
    return m_listing.Run(*this, *scene, tree, hierarchyView, node, parentItem, typeSixOnly);
}

void CLinkSubNodeDlg::showEvent(QShowEvent*)
{
    // Unchecking the previous choice and checking this one each run their handler, so the
    // opening previews without alignment.
    if (ui.qtNoAlign != nullptr)
        ui.qtNoAlign->setChecked(true);
}

void CLinkSubNodeDlg::ClearSearch()
{
    if (ui.qtObjectTreeSearchLineEdit != nullptr)
        ui.qtObjectTreeSearchLineEdit->clear();
}

// ---- Alignment and preview ------------------------------------------------------------------
// Host results are not looked at: a failed preview leaves the dialog as it is, and the
// launcher's final link or restore decides what stays.

void CLinkSubNodeDlg::OnAlignPos()
{
    SetAlignMode(kAlignPosition);
}

void CLinkSubNodeDlg::OnAlignPosRot()
{
    SetAlignMode(kAlignPositionAndRotation);
}

void CLinkSubNodeDlg::OnNoAlign()
{
    SetAlignMode(kNoAlign);
}

void CLinkSubNodeDlg::SetAlignMode(int mode)
{
    alignMode = mode;
    OnTreeSelectionChanged();
}

void CLinkSubNodeDlg::OnTreeSelectionChanged()
{
    QTreeWidget* tree = GetTreeWidget();
    if (tree == nullptr)
        return;
    const QList<QTreeWidgetItem*> selected = tree->selectedItems();
    if (selected.size() == 1)
        PreviewItem(selected.first());
}

void CLinkSubNodeDlg::PreviewItem(QTreeWidgetItem* item)
{
    if (m_dialogHost == nullptr)
        return;
    m_chosenNode = GetItemNode(item);

    HandleList selection;
    m_dialogHost->GetSceneManager()->GetSelectedObjects(selection, true);
    if (selection.IsEmpty())
        return;
    UB::CHandle* object = selection[0];

    // Every preview starts from where the object was when the dialog opened.
    UBTime now = m_dialogHost->GetSceneManager()->GetCurrentTime();
    m_dialogHost->GetLinkManager()->SetTransform(object, now, savedTransform);
    now = m_dialogHost->GetSceneManager()->GetCurrentTime();
    m_dialogHost->GetLinkManager()->LinkObjects(selection, previousParent, alignMode, now, false,
                                                false);
    if (alignMode == kNoAlign)
        return;
    now = m_dialogHost->GetSceneManager()->GetCurrentTime();
    m_dialogHost->GetLinkManager()->SetTransform(object, now, savedTransform);
    now = m_dialogHost->GetSceneManager()->GetCurrentTime();
    m_dialogHost->GetLinkManager()->LinkObjects(selection, m_chosenNode, alignMode, now, false,
                                                false);
}

// ---- Search -----------------------------------------------------------------------------------

void CLinkSubNodeDlg::OnSearchTextChanged(const QString& text)
{
    QTreeWidget* tree = GetTreeWidget();
    if (tree == nullptr)
        return;
    // Hides every item, shows the hits and their ancestors, expands those ancestors for a
    // text, and leaves the first hit the only selected item. The selection is announced once
    // the hit is visible: Qt leaves hidden items out of selectedItems(), so a hit announced
    // while still hidden would be previewed as no selection at all. Announcing it once is
    // what the handler would see in the end either way: deselecting alone previews nothing.
    // The hit is then the only selected item, so it is previewed without asking Qt again.
    QTreeWidgetItem* firstHit = nullptr;
    {
        const QSignalBlocker blocker(tree);
        firstHit = ApplySearch(text);
    }
    if (firstHit != nullptr)
        PreviewItem(firstHit);
    // The keypad Enter that ends typing is not taken as OK.
    m_enterPending = true;
}

// ---- Views ------------------------------------------------------------------------------------

void CLinkSubNodeDlg::OnViewMenuAboutToShow()
{
    // Expanding and collapsing mean nothing to a flat list.
    const bool nested = !ui.qtListAction->isChecked();
    ui.qtCollapseAction->setEnabled(nested);
    ui.qtExpandAction->setEnabled(nested);
    ui.qtHierarchyAction->setEnabled(true);
    ui.qtListAction->setEnabled(true);
}

void CLinkSubNodeDlg::OnHierarchyView()
{
    hierarchyView = true;
    RebuildTree();
    CheckOneOf(ui.qtHierarchyAction, ui.qtListAction);
}

void CLinkSubNodeDlg::OnListView()
{
    hierarchyView = false;
    RebuildTree();
    CheckOneOf(ui.qtListAction, ui.qtHierarchyAction);
}

void CLinkSubNodeDlg::OnExpandAll()
{
    ExpandAll();
    m_expandRoot = true;
    CheckOneOf(ui.qtExpandAction, ui.qtCollapseAction);
}

void CLinkSubNodeDlg::OnCollapseAll()
{
    GetTreeWidget()->collapseAll();
    m_expandRoot = false;
    CheckOneOf(ui.qtCollapseAction, ui.qtExpandAction);
}

void CLinkSubNodeDlg::CheckOneOf(QAction* on, QAction* off)
{
    if (off->isChecked())
        off->setChecked(false);
    if (!on->isChecked())
        on->setChecked(true);
}

void CLinkSubNodeDlg::RebuildTree()
{
    OnViewMenuAboutToShow();
    QTreeWidget* tree = GetTreeWidget();
    std::vector<UB::CHandle*> remembered;
    for (const QTreeWidgetItem* item : tree->selectedItems())
        remembered.push_back(GetItemNode(item));

    ClearTree();
    BuildTree(m_rootNode, false);
    if (remembered.empty())
        return;

    // The usual case, one node remembered that has one item, needs no walk over the tree.
    if (remembered.size() == 1 && remembered[0] != nullptr && IsOneItemPerNode()) {
        QTreeWidgetItem* item = m_handleToItem.Find(remembered[0]);
        if (item == nullptr)
            return;
        item->setSelected(true);
        if (!hierarchyView)
            tree->scrollToItem(item, QAbstractItemView::EnsureVisible);
        return;
    }

    // Each item goes through the remembered nodes in order, selected where its node is the
    // one and unselected elsewhere, so with several only the last one's items stay selected.
    // An item of a node not remembered would only be unselected, which a new tree already is.
    const std::unordered_set<UB::CHandle*> rememberedSet(remembered.begin(), remembered.end());
    QList<QTreeWidgetItem*> items;
    GetAllItems(items);
    for (QTreeWidgetItem* item : qAsConst(items)) {
        UB::CHandle* node = GetItemNode(item);
        if (rememberedSet.count(node) == 0)
            continue;
        for (UB::CHandle* handle : remembered) {
            const bool same = node == handle;
            item->setSelected(same);
            if (same && !hierarchyView)
                tree->scrollToItem(item, QAbstractItemView::EnsureVisible);
        }
    }
}

} // namespace KV
