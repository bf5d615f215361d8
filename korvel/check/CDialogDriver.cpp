#include "CDialogDriver.h"

#include "CHostQueries.h"
#include "KVSceneModel.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <cstring>
#include <memory>

namespace KV {

namespace {

bool SameTransform(const TransformRecord& a, const TransformRecord& b)
{
    return std::memcmp(a.position, b.position, sizeof a.position) == 0 &&
           std::memcmp(a.rotation, b.rotation, sizeof a.rotation) == 0 &&
           std::memcmp(a.scale, b.scale, sizeof a.scale) == 0;
}

QString TransformText(const TransformRecord& record)
{
    return QStringLiteral("T(%1,%2,%3)")
        .arg(QString::number(record.position[0]), QString::number(record.position[1]),
             QString::number(record.position[2]));
}

QString CallText(const CJournalEntry& entry)
{
    return QStringLiteral("%1(%2)").arg(entry.call, entry.args.join(QStringLiteral(", ")));
}

QList<QTreeWidgetItem*> Ancestors(QTreeWidgetItem* item)
{
    QList<QTreeWidgetItem*> ancestors;
    for (QTreeWidgetItem* parent = item->parent(); parent != nullptr; parent = parent->parent())
        ancestors.append(parent);
    return ancestors;
}

const char* const kAlignNames[] = {"qtNoAlign", "qtAlignPos", "qtAlignPosRot"};

} // namespace

CDialogDriver::CDialogDriver(CSceneModel& scene, CHostQueries& queries, QRandomGenerator& random,
                             bool watchTreeModel, CSteps steps)
    : m_scene(scene)
    , m_queries(queries)
    , m_random(random)
    , m_watchTreeModel(watchTreeModel)
    , m_steps(std::move(steps))
    , m_listing(queries)
{}

// ---- Opening ------------------------------------------------------------------------------------

bool CDialogDriver::Click(QToolButton* linkSubNode, QStringList* problems)
{
    m_driven = false;
    m_stopped = false;
    m_end = EEnd::Open;
    m_driveProblems.clear();

    // What the command finds when it runs: the last selected object's parent decides.
    m_queries.Selection(m_selection);
    m_time = m_queries.Now();
    m_previousParent = nullptr;
    for (UB::CHandle* object : qAsConst(m_selection))
        m_queries.LinkParent(object, m_time, m_previousParent);
    m_expectOpen = linkSubNode->isEnabled() && m_previousParent != nullptr;
    m_owner = m_queries.NodeOwner(m_previousParent);
    if (m_queries.NodeKind(m_owner) == 1)
        m_owner = m_queries.OwnerRoot(m_owner);
    UB::CHandle* first = m_selection.IsEmpty() ? nullptr : m_selection[0];
    UB::Result transformResult;
    m_savedTransform = m_queries.Transform(first, m_time, &transformResult);
    m_beforeParent = m_scene.LinkParentAt(first, m_time);
    m_beforeTransform = m_scene.LocalTransformAt(first, m_time);
    m_openJournal = m_scene.Journal().size();
    m_endJournal = m_openJournal;

    // The dialog runs its own event loop; the poll drives it from inside that loop.
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, &poll, [this] { Drive(); });
    m_poll = &poll;
    poll.start();
    QTest::mouseClick(linkSubNode, Qt::LeftButton);
    poll.stop();
    m_poll = nullptr;

    if (!m_driven) {
        if (m_expectOpen)
            problems->append(QStringLiteral("qtLinkSubNode opened no modal dialog for an object "
                                            "linked to \"%1\"")
                                 .arg(Render(m_previousParent)));
        return true;
    }
    if (m_stopped)
        return false;
    *problems += m_driveProblems;
    if (m_end != EEnd::Open)
        CheckEnd(problems);
    return true;
}

void CDialogDriver::Drive()
{
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible())
        return;
    m_poll->stop();
    m_driven = true;
    if (!m_expectOpen) {
        m_driveProblems.append(QStringLiteral("a dialog opened although qtLinkSubNode was "
                                              "disabled or the object has no link parent"));
        dialog->reject();
        return;
    }
    if (m_dialog && m_dialog != dialog)
        m_driveProblems.append(QStringLiteral("a second link-to-sub-node dialog was made; the "
                                              "section makes it once and reuses it"));
    const bool firstOpening = m_dialog != dialog;
    m_dialog = dialog;
    if (firstOpening) {
        if (!FindControls(dialog, &m_driveProblems)) {
            dialog->reject();
            return;
        }
        QObject::connect(m_controls.search, &QLineEdit::textChanged, dialog,
                         [this](const QString& text) { OnSearchTextChanged(text); });
    }
    // The tester checks the tree the opening built and watches it while the dialog is open.
    // It goes before the dialog closes: it must never outlive the model it watches, which
    // still sends signals while it is being destroyed.
    std::unique_ptr<QAbstractItemModelTester> tester;
    if (m_watchTreeModel)
        tester = std::make_unique<QAbstractItemModelTester>(
            m_controls.tree->model(), QAbstractItemModelTester::FailureReportingMode::Warning);
    m_inDialog = true;
    QStringList problems;
    problems.swap(m_driveProblems);
    CheckOpening(&problems);
    if (!m_steps.check(problems)) {
        m_stopped = true;
        m_inDialog = false;
        dialog->reject();
        return;
    }
    const int steps = static_cast<int>(m_random.bounded(12));
    for (int i = 0; i < steps && m_end == EEnd::Open; ++i) {
        if (!DoStep()) {
            m_stopped = true;
            m_inDialog = false;
            if (dialog->isVisible())
                dialog->reject();
            return;
        }
    }
    for (int attempt = 0; attempt < 3 && m_end == EEnd::Open && !m_stopped; ++attempt)
        End();
    if (m_stopped) {
        m_inDialog = false;
        if (dialog->isVisible())
            dialog->reject();
        return;
    }
    if (m_end == EEnd::Open) {
        m_driveProblems.append(QStringLiteral("the dialog does not close"));
        dialog->done(QDialog::Rejected);
        m_end = EEnd::Rejected;
    }
    m_inDialog = false;
}

bool CDialogDriver::FindControls(QDialog* dialog, QStringList* problems)
{
    CControls& c = m_controls;
    c = CControls();
    c.tree = dialog->findChild<QTreeWidget*>(QStringLiteral("qtObjectTreeWidget"));
    c.search = dialog->findChild<QLineEdit*>(QStringLiteral("qtObjectTreeSearchLineEdit"));
    c.ok = dialog->findChild<QPushButton*>(QStringLiteral("qtOKPushButton"));
    c.cancel = dialog->findChild<QPushButton*>(QStringLiteral("qtCancelPushButton"));
    c.noAlign = dialog->findChild<QRadioButton*>(QStringLiteral("qtNoAlign"));
    c.alignPos = dialog->findChild<QRadioButton*>(QStringLiteral("qtAlignPos"));
    c.alignPosRot = dialog->findChild<QRadioButton*>(QStringLiteral("qtAlignPosRot"));
    c.viewButton = dialog->findChild<QToolButton*>(QStringLiteral("qtObjectTreeToolButton"));
    c.hierarchyAction = dialog->findChild<QAction*>(QStringLiteral("qtHierarchyAction"));
    c.listAction = dialog->findChild<QAction*>(QStringLiteral("qtListAction"));
    c.expandAction = dialog->findChild<QAction*>(QStringLiteral("qtExpandAction"));
    c.collapseAction = dialog->findChild<QAction*>(QStringLiteral("qtCollapseAction"));
    const std::pair<const char*, bool> found[] = {
        {"QTreeWidget qtObjectTreeWidget", c.tree},
        {"QLineEdit qtObjectTreeSearchLineEdit", c.search},
        {"QPushButton qtOKPushButton", c.ok},
        {"QPushButton qtCancelPushButton", c.cancel},
        {"QRadioButton qtNoAlign", c.noAlign},
        {"QRadioButton qtAlignPos", c.alignPos},
        {"QRadioButton qtAlignPosRot", c.alignPosRot},
        {"QToolButton qtObjectTreeToolButton", c.viewButton},
        {"QAction qtHierarchyAction", c.hierarchyAction},
        {"QAction qtListAction", c.listAction},
        {"QAction qtExpandAction", c.expandAction},
        {"QAction qtCollapseAction", c.collapseAction},
    };
    bool all = true;
    for (const auto& entry : found) {
        if (!entry.second) {
            problems->append(
                QStringLiteral("the dialog holds no %1").arg(QLatin1String(entry.first)));
            all = false;
        }
    }
    return all;
}

void CDialogDriver::CheckOpening(QStringList* problems)
{
    const CControls& c = m_controls;
    m_chosenAlignment = c.noAlign;
    if (!c.noAlign->isChecked() || c.alignPos->isChecked() || c.alignPosRot->isChecked())
        problems->append(QStringLiteral("the dialog opens without qtNoAlign as the only "
                                        "alignment checked"));
    if (!c.search->text().isEmpty())
        problems->append(
            QStringLiteral("the dialog opens with the search text \"%1\"").arg(c.search->text()));
    if (c.hierarchyAction->isChecked() != m_hierarchyView ||
        c.listAction->isChecked() == m_hierarchyView ||
        c.expandAction->isChecked() != m_expandRoot ||
        c.collapseAction->isChecked() == m_expandRoot)
        problems->append(
            QStringLiteral("the view menu's check marks do not show the %1 view "
                           "with %2")
                .arg(m_hierarchyView ? QStringLiteral("hierarchy") : QStringLiteral("list"),
                     m_expandRoot ? QStringLiteral("Expand") : QStringLiteral("Collapse")));

    if (m_owner != nullptr)
        m_rootNode = m_owner;
    const QVector<CNodeListing::CItem> expected = m_listing.Build(m_owner, m_hierarchyView);
    QStringList readProblems;
    const QVector<CNodeListing::CItem> actual = CNodeListing::Read(c.tree, &readProblems);
    const QStringList differences = CNodeListing::Compare(expected, actual);
    *problems += readProblems;
    for (const QString& difference : differences)
        problems->append(QStringLiteral("tree of %1: %2").arg(Render(m_owner), difference));
    m_items.clear();
    m_treeKnown = differences.isEmpty();
    if (!m_treeKnown)
        return;
    const QList<QTreeWidgetItem*> items = CNodeListing::ItemsInOrder(c.tree);
    QTreeWidgetItem* current = nullptr;
    for (int i = 0; i < items.size(); ++i) {
        CItemState state;
        state.expanded = i == 0 && m_owner != nullptr ? m_expandRoot : true;
        if (current == nullptr && expected.at(i).hasHandle &&
            expected.at(i).handle == m_previousParent) {
            state.selected = true;
            current = items.at(i);
        }
        m_items.insert(items.at(i), state);
    }
    // The parent's item becomes the current item, and a tree view that scrolls to its current
    // item opens the item's ancestors to show it.
    if (current != nullptr && c.tree->hasAutoScroll()) {
        for (QTreeWidgetItem* ancestor : Ancestors(current))
            m_items[ancestor].expanded = true;
    }
    CheckTree(problems);
}

// ---- Steps --------------------------------------------------------------------------------------

bool CDialogDriver::DoStep()
{
    // Any step may end the dialog; what the section does then is judged from here on.
    m_endJournal = m_scene.Journal().size();
    m_finalAlign = AlignModeShown();
    m_finalTarget = Render(FirstSelectedNode());
    QStringList problems;
    const int choice = static_cast<int>(m_random.bounded(100));
    if (choice < 35)
        ClickItem(&problems);
    else if (choice < 55)
        ClickAlignment(&problems);
    else if (choice < 75)
        TypeSearch(&problems);
    else if (choice < 90)
        UseViewMenu(&problems);
    else
        PressKey(&problems);

    if (m_end == EEnd::Open && !m_dialog->isVisible()) {
        m_end = m_dialog->result() == QDialog::Accepted ? EEnd::Accepted : EEnd::Rejected;
        m_driveProblems.append(QStringLiteral("the dialog closed on this step"));
        m_driveProblems += problems;
    }
    if (m_end != EEnd::Open)
        return true; // checked once the dialog's event loop has ended
    CheckTree(&problems);
    if (m_chosenAlignment && !m_chosenAlignment->isChecked())
        problems.append(
            QStringLiteral("%1 is no longer checked").arg(m_chosenAlignment->objectName()));
    return m_steps.check(problems);
}

void CDialogDriver::ClickItem(QStringList* problems)
{
    QTreeWidget* tree = m_controls.tree;
    QList<QTreeWidgetItem*> clickable;
    for (QTreeWidgetItem* item : CNodeListing::ItemsInOrder(tree)) {
        bool reachable = !item->isHidden();
        for (QTreeWidgetItem* ancestor : Ancestors(item))
            reachable = reachable && !ancestor->isHidden() && ancestor->isExpanded();
        if (reachable)
            clickable.append(item);
    }
    if (clickable.isEmpty()) {
        m_steps.begin(QStringLiteral("dialog: look at an empty tree"));
        return;
    }
    QTreeWidgetItem* item = clickable.at(static_cast<int>(m_random.bounded(clickable.size())));
    m_steps.begin(QStringLiteral("dialog: click the tree item \"%1\"").arg(item->text(0)));
    tree->scrollToItem(item);
    const QRect rect = tree->visualItemRect(item);
    const QWidget* viewport = tree->viewport();
    if (rect.isEmpty() || rect.bottom() < 0 || rect.top() >= viewport->height())
        return;
    const QPoint at(qBound(0, rect.left() + qMin(rect.width() / 2, 12), viewport->width() - 1),
                    rect.center().y());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    if (!m_treeKnown || tree->selectionMode() == QAbstractItemView::NoSelection)
        return;
    if (tree->selectionMode() == QAbstractItemView::MultiSelection) {
        m_items[item].selected = !m_items[item].selected;
        return;
    }
    for (CItemState& state : m_items)
        state.selected = false;
    m_items[item].selected = true;
    Q_UNUSED(problems)
}

void CDialogDriver::ClickAlignment(QStringList* problems)
{
    const int choice = static_cast<int>(m_random.bounded(3));
    QRadioButton* radios[] = {m_controls.noAlign, m_controls.alignPos, m_controls.alignPosRot};
    m_steps.begin(QStringLiteral("dialog: choose %1").arg(QLatin1String(kAlignNames[choice])));
    // A radio button takes clicks on its indicator and label only, not on all of its width.
    QStyleOptionButton option;
    option.initFrom(radios[choice]);
    const QRect clickRect = radios[choice]->style()->subElementRect(QStyle::SE_RadioButtonClickRect,
                                                                    &option, radios[choice]);
    QTest::mouseClick(radios[choice], Qt::LeftButton, Qt::NoModifier, clickRect.center());
    m_chosenAlignment = radios[choice];
    for (int i = 0; i < 3; ++i) {
        if (radios[i]->isChecked() != (i == choice))
            problems->append(QStringLiteral("after a click on %1, %2 is %3")
                                 .arg(QLatin1String(kAlignNames[choice]),
                                      QLatin1String(kAlignNames[i]),
                                      radios[i]->isChecked() ? QStringLiteral("checked")
                                                             : QStringLiteral("unchecked")));
    }
}

void CDialogDriver::TypeSearch(QStringList* problems)
{
    QLineEdit* search = m_controls.search;
    const int choice = static_cast<int>(m_random.bounded(10));
    if (choice < 2 && !search->text().isEmpty()) {
        m_steps.begin(QStringLiteral("dialog: empty the search field"));
        QTest::keyClick(search, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(search, Qt::Key_Backspace);
        return;
    }
    if (choice < 3 && !search->text().isEmpty()) {
        m_steps.begin(QStringLiteral("dialog: delete the last letter of the search"));
        search->end(false);
        QTest::keyClick(search, Qt::Key_Backspace);
        return;
    }
    QString text;
    const QList<QTreeWidgetItem*> items = CNodeListing::ItemsInOrder(m_controls.tree);
    if (choice < 8 && !items.isEmpty()) {
        const QString name = items.at(static_cast<int>(m_random.bounded(items.size())))->text(0);
        const int start = name.isEmpty() ? 0 : static_cast<int>(m_random.bounded(name.size()));
        text = name.mid(start, 1 + static_cast<int>(m_random.bounded(3)));
        if (m_random.bounded(2) == 0)
            text = m_random.bounded(2) == 0 ? text.toUpper() : text.toLower();
    } else {
        text = m_random.bounded(2) == 0 ? QStringLiteral("zq") : QStringLiteral("aR");
    }
    if (text.isEmpty())
        text = QStringLiteral("a");
    if (m_random.bounded(2) == 0 && !search->text().isEmpty()) {
        QTest::keyClick(search, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(search, Qt::Key_Backspace);
    }
    m_steps.begin(QStringLiteral("dialog: type \"%1\" into the search field").arg(text));
    search->end(false);
    for (const QChar letter : qAsConst(text)) {
        // QTest maps only ASCII to keys; other letters come as text with no key, as an input
        // method delivers them.
        if (letter.unicode() < 128)
            QTest::keyClick(search, letter.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, search, Qt::Key_unknown, QString(letter),
                                Qt::NoModifier);
    }
    Q_UNUSED(problems)
}

void CDialogDriver::OnSearchTextChanged(const QString& text)
{
    m_enterPending = true;
    if (!m_inDialog || !m_treeKnown)
        return;
    const QList<QTreeWidgetItem*> items = CNodeListing::ItemsInOrder(m_controls.tree);
    QList<QTreeWidgetItem*> matches;
    for (QTreeWidgetItem* item : items) {
        CItemState& state = m_items[item];
        state.hidden = true;
        state.selected = false;
        if (text.isEmpty() || item->text(0).contains(text, Qt::CaseInsensitive))
            matches.append(item);
    }
    for (QTreeWidgetItem* match : qAsConst(matches)) {
        m_items[match].hidden = false;
        for (QTreeWidgetItem* ancestor : Ancestors(match)) {
            if (!text.isEmpty()) {
                m_items[ancestor].expanded = true;
                m_items[ancestor].expandedKnown = true;
            }
            m_items[ancestor].hidden = false;
        }
    }
    if (!matches.isEmpty())
        m_items[matches.constFirst()].selected = true;
}

void CDialogDriver::UseViewMenu(QStringList* problems)
{
    const CControls& c = m_controls;
    QAction* actions[] = {c.hierarchyAction, c.listAction, c.expandAction, c.collapseAction};
    const int choice = static_cast<int>(m_random.bounded(4));
    QAction* action = actions[choice];
    m_steps.begin(QStringLiteral("dialog: choose %1 in the view menu").arg(action->objectName()));
    QMenu* menu = c.viewButton->menu();
    if (menu == nullptr) {
        problems->append(QStringLiteral("qtObjectTreeToolButton has no view menu"));
        return;
    }
    QList<UB::CHandle*> remembered;
    for (QTreeWidgetItem* item : c.tree->selectedItems()) {
        bool present = false;
        bool wrongType = false;
        remembered.append(CNodeListing::Handle(item, &present, &wrongType));
    }
    menu->popup(c.viewButton->mapToGlobal(QPoint(0, c.viewButton->height())));
    const bool listChecked = c.listAction->isChecked();
    if (c.expandAction->isEnabled() == listChecked ||
        c.collapseAction->isEnabled() == listChecked || !c.hierarchyAction->isEnabled() ||
        !c.listAction->isEnabled())
        problems->append(
            QStringLiteral("the view menu opens with Expand and Collapse %1 in the %2 "
                           "view")
                .arg(c.expandAction->isEnabled() ? QStringLiteral("enabled")
                                                 : QStringLiteral("disabled"),
                     listChecked ? QStringLiteral("list") : QStringLiteral("hierarchy")));
    const bool enabled = action->isEnabled();
    const QRect rect = menu->actionGeometry(action);
    if (!menu->isVisible() || rect.isEmpty()) {
        problems->append(
            QStringLiteral("the view menu did not open with %1 in it").arg(action->objectName()));
        menu->hide();
        return;
    }
    QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, rect.center());
    if (menu->isVisible())
        menu->hide();
    if (!enabled)
        return;
    if (choice < 2) {
        m_hierarchyView = choice == 0;
        if (c.hierarchyAction->isChecked() != m_hierarchyView ||
            c.listAction->isChecked() == m_hierarchyView)
            problems->append(QStringLiteral("after %1, Hierarchy is %2 and List is %3")
                                 .arg(action->objectName(),
                                      c.hierarchyAction->isChecked() ? QStringLiteral("checked")
                                                                     : QStringLiteral("unchecked"),
                                      c.listAction->isChecked() ? QStringLiteral("checked")
                                                                : QStringLiteral("unchecked")));
        const QVector<CNodeListing::CItem> expected = m_listing.Build(m_rootNode, m_hierarchyView);
        QStringList readProblems;
        const QVector<CNodeListing::CItem> actual = CNodeListing::Read(c.tree, &readProblems);
        const QStringList differences = CNodeListing::Compare(expected, actual);
        *problems += readProblems;
        for (const QString& difference : differences)
            problems->append(QStringLiteral("rebuilt tree: %1").arg(difference));
        m_items.clear();
        m_treeKnown = differences.isEmpty();
        if (!m_treeKnown)
            return;
        const QList<QTreeWidgetItem*> items = CNodeListing::ItemsInOrder(c.tree);
        for (int i = 0; i < items.size(); ++i) {
            CItemState state;
            state.expanded = i == 0 && m_rootNode != nullptr ? m_expandRoot : true;
            state.selected = !remembered.isEmpty() && expected.at(i).handle == remembered.last();
            m_items.insert(items.at(i), state);
        }
        return;
    }
    m_expandRoot = choice == 2;
    if (c.expandAction->isChecked() != m_expandRoot ||
        c.collapseAction->isChecked() == m_expandRoot)
        problems->append(QStringLiteral("after %1, Expand is %2 and Collapse is %3")
                             .arg(action->objectName(),
                                  c.expandAction->isChecked() ? QStringLiteral("checked")
                                                              : QStringLiteral("unchecked"),
                                  c.collapseAction->isChecked() ? QStringLiteral("checked")
                                                                : QStringLiteral("unchecked")));
    // Qt's expand-all leaves hidden items, and everything below them, as they were, while
    // collapse-all closes every item; the rule says only "all items", so either is right for
    // the items a search hides.
    for (auto it = m_items.begin(); it != m_items.end(); ++it) {
        bool hidden = it.key()->isHidden();
        for (QTreeWidgetItem* ancestor : Ancestors(it.key()))
            hidden = hidden || ancestor->isHidden();
        it->expanded = m_expandRoot;
        it->expandedKnown = !m_expandRoot || !hidden;
    }
}

void CDialogDriver::PressKey(QStringList* problems)
{
    const int choice = static_cast<int>(m_random.bounded(3));
    if (choice == 0) {
        m_steps.begin(QStringLiteral("dialog: press Return"));
        QTest::keyClick(m_dialog, Qt::Key_Return);
    } else if (choice == 1) {
        m_steps.begin(QStringLiteral("dialog: press Escape"));
        QTest::keyClick(m_dialog, Qt::Key_Escape);
    } else {
        m_steps.begin(QStringLiteral("dialog: press keypad Enter"));
        const bool pending = m_enterPending;
        QTest::keyClick(m_dialog, Qt::Key_Enter, Qt::KeypadModifier);
        if (!pending) {
            if (m_dialog->isVisible())
                problems->append(QStringLiteral("keypad Enter without a search before it does not "
                                                "confirm the dialog"));
            else
                m_end = m_dialog->result() == QDialog::Accepted ? EEnd::Accepted : EEnd::Rejected;
            return;
        }
        m_enterPending = false;
    }
    if (!m_dialog->isVisible())
        problems->append(QStringLiteral("the key closed the dialog"));
}

// ---- Ending -------------------------------------------------------------------------------------

void CDialogDriver::End()
{
    const int choice = static_cast<int>(m_random.bounded(100));
    m_endJournal = m_scene.Journal().size();
    m_finalAlign = AlignModeShown();
    m_finalTarget = Render(FirstSelectedNode());
    EEnd expected = EEnd::Rejected;
    if (choice < 40) {
        m_steps.begin(QStringLiteral("dialog: click OK"));
        QTest::mouseClick(m_controls.ok, Qt::LeftButton);
        expected = EEnd::Accepted;
    } else if (choice < 75) {
        m_steps.begin(QStringLiteral("dialog: click Cancel"));
        QTest::mouseClick(m_controls.cancel, Qt::LeftButton);
    } else if (choice < 90) {
        m_steps.begin(QStringLiteral("dialog: press keypad Enter to finish"));
        const bool pending = m_enterPending;
        QTest::keyClick(m_dialog, Qt::Key_Enter, Qt::KeypadModifier);
        if (pending) {
            m_enterPending = false;
            QStringList problems;
            if (!m_dialog->isVisible()) {
                problems.append(QStringLiteral("the first keypad Enter after a search closed the "
                                               "dialog"));
                m_end = m_dialog->result() == QDialog::Accepted ? EEnd::Accepted : EEnd::Rejected;
                m_driveProblems += problems;
                return;
            }
            if (!m_steps.check(problems))
                m_stopped = true;
            return;
        }
        expected = EEnd::Accepted;
    } else {
        m_steps.begin(QStringLiteral("dialog: close the window"));
        m_dialog->close();
    }
    if (m_dialog->isVisible()) {
        m_driveProblems.append(QStringLiteral("the dialog stays open"));
        m_dialog->done(expected == EEnd::Accepted ? QDialog::Accepted : QDialog::Rejected);
    }
    m_end = m_dialog->result() == QDialog::Accepted ? EEnd::Accepted : EEnd::Rejected;
    if (m_end != expected)
        m_driveProblems.append(expected == EEnd::Accepted
                                   ? QStringLiteral("the dialog was rejected, not accepted")
                                   : QStringLiteral("the dialog was accepted, not rejected"));
}

void CDialogDriver::CheckEnd(QStringList* problems)
{
    CheckPreviews(problems);
    const QVector<CJournalEntry>& journal = m_scene.Journal();
    QVector<CJournalEntry> afterEnd;
    for (int i = m_endJournal; i < journal.size(); ++i) {
        if (journal.at(i).call == QLatin1String("LinkObjects") ||
            journal.at(i).call == QLatin1String("SetTransform"))
            afterEnd.append(journal.at(i));
    }
    const QString objects = Render(m_selection);
    const QString now = QString::number(m_time);
    UB::CHandle* first = m_selection.IsEmpty() ? nullptr : m_selection[0];
    QStringList expected;
    if (m_end == EEnd::Accepted) {
        expected.append(QStringLiteral("LinkObjects(%1, %2, %3, %4, true, true)")
                            .arg(objects, m_finalTarget)
                            .arg(m_finalAlign)
                            .arg(now));
    } else {
        expected.append(QStringLiteral("LinkObjects(%1, %2, 0, %3, false, false)")
                            .arg(objects, Render(m_previousParent), now));
        expected.append(QStringLiteral("SetTransform(%1, %2, %3)")
                            .arg(Render(first), now, TransformText(m_savedTransform)));
    }
    QStringList actual;
    for (const CJournalEntry& entry : qAsConst(afterEnd))
        actual.append(CallText(entry));
    if (actual != expected)
        problems->append(QStringLiteral("after the dialog %1 the section called [%2]; the rule "
                                        "gives [%3]")
                             .arg(m_end == EEnd::Accepted ? QStringLiteral("was accepted")
                                                          : QStringLiteral("was cancelled"),
                                  actual.join(QStringLiteral("; ")),
                                  expected.join(QStringLiteral("; "))));
    if (m_end != EEnd::Rejected || m_selection.GetCount() != 1 || !m_scene.Contains(first))
        return;
    for (const QString& call : {QStringLiteral("GetSelectedObjects"),
                                QStringLiteral("GetLinkParent"), QStringLiteral("GetTransform"),
                                QStringLiteral("SetTransform"), QStringLiteral("LinkObjects")}) {
        if (m_steps.faulted(call))
            return;
    }
    if (m_scene.LinkParentAt(first, m_time) != m_beforeParent)
        problems->append(QStringLiteral("after Cancel \"%1\" hangs from %2; before the dialog it "
                                        "hung from %3")
                             .arg(m_scene.Name(first), Render(m_scene.LinkParentAt(first, m_time)),
                                  Render(m_beforeParent)));
    if (!SameTransform(m_scene.LocalTransformAt(first, m_time), m_beforeTransform))
        problems->append(QStringLiteral("after Cancel \"%1\" stands at %2; before the dialog it "
                                        "stood at %3")
                             .arg(m_scene.Name(first),
                                  TransformText(m_scene.LocalTransformAt(first, m_time)),
                                  TransformText(m_beforeTransform)));
}

void CDialogDriver::CheckPreviews(QStringList* problems) const
{
    const QVector<CJournalEntry>& journal = m_scene.Journal();
    const QString previous = Render(m_previousParent);
    const QString saved = TransformText(m_savedTransform);
    for (int i = m_openJournal; i < m_endJournal && i < journal.size(); ++i) {
        const CJournalEntry& entry = journal.at(i);
        if (entry.call == QLatin1String("LinkObjects") && entry.args.size() == 6) {
            if (entry.args.at(4) != QLatin1String("false") ||
                entry.args.at(5) != QLatin1String("false"))
                problems->append(QStringLiteral("a preview committed or announced its link: %1")
                                     .arg(CallText(entry)));
            if (entry.args.at(1) != previous && entry.args.at(2) == QLatin1String("0"))
                problems->append(QStringLiteral("a preview without alignment linked to another "
                                                "node than the previous parent: %1")
                                     .arg(CallText(entry)));
        } else if (entry.call == QLatin1String("SetTransform") && entry.args.size() == 3 &&
                   entry.args.at(2) != saved) {
            problems->append(QStringLiteral("a preview set another transform than the saved one "
                                            "%1: %2")
                                 .arg(saved, CallText(entry)));
        } else if (entry.call == QLatin1String("UnlinkObject")) {
            problems->append(QStringLiteral("the dialog unlinked: %1").arg(CallText(entry)));
        }
    }
}

// ---- Checks -------------------------------------------------------------------------------------

void CDialogDriver::CheckTree(QStringList* problems) const
{
    if (!m_treeKnown || m_controls.tree.isNull())
        return;
    int reported = 0;
    for (QTreeWidgetItem* item : CNodeListing::ItemsInOrder(m_controls.tree)) {
        const auto found = m_items.constFind(item);
        if (found == m_items.constEnd()) {
            problems->append(QStringLiteral("the tree holds an item \"%1\" that no rebuild made")
                                 .arg(item->text(0)));
            return;
        }
        const CItemState& want = found.value();
        QStringList wrong;
        if (item->isHidden() != want.hidden)
            wrong.append(want.hidden ? QStringLiteral("shown, should be hidden")
                                     : QStringLiteral("hidden, should be shown"));
        if (item->isSelected() != want.selected)
            wrong.append(want.selected ? QStringLiteral("not selected, should be selected")
                                       : QStringLiteral("selected, should not be"));
        if (item->childCount() > 0 && want.expandedKnown && item->isExpanded() != want.expanded)
            wrong.append(want.expanded ? QStringLiteral("collapsed, should be expanded")
                                       : QStringLiteral("expanded, should be collapsed"));
        if (!wrong.isEmpty() && reported++ < 3)
            problems->append(QStringLiteral("tree item \"%1\" is %2")
                                 .arg(item->text(0), wrong.join(QStringLiteral(", "))));
    }
}

UB::CHandle* CDialogDriver::FirstSelectedNode() const
{
    const QList<QTreeWidgetItem*> selected = m_controls.tree->selectedItems();
    if (selected.isEmpty())
        return nullptr;
    bool present = false;
    bool wrongType = false;
    return CNodeListing::Handle(selected.constFirst(), &present, &wrongType);
}

int CDialogDriver::AlignModeShown() const
{
    if (m_controls.alignPos && m_controls.alignPos->isChecked())
        return 1;
    if (m_controls.alignPosRot && m_controls.alignPosRot->isChecked())
        return 2;
    return 0;
}

QString CDialogDriver::Render(UB::CHandle* handle) const
{
    if (handle == nullptr)
        return QStringLiteral("null");
    return m_scene.Contains(handle) ? m_scene.Name(handle) : QStringLiteral("<invalid>");
}

QString CDialogDriver::Render(const HandleList& handles) const
{
    QStringList names;
    for (UB::CHandle* handle : handles)
        names.append(Render(handle));
    return QLatin1Char('[') + names.join(QStringLiteral(", ")) + QLatin1Char(']');
}

} // namespace KV
