#include "CDialogDriver.h"

#include "CModalWatch.h"
#include "CSubNodeDialogUser.h"

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

namespace KV {

namespace {

QString CheckedText(bool checked)
{
    return checked ? QStringLiteral("checked") : QStringLiteral("unchecked");
}

const char* const kAlignNames[] = {"qtNoAlign", "qtAlignPos", "qtAlignPosRot"};

} // namespace

CDialogDriver::CDialogDriver(CSceneModel& scene, CHostQueries& queries, QRandomGenerator& random,
                             bool watchTreeModel, CSteps steps)
    : m_random(random)
    , m_watchTreeModel(watchTreeModel)
    , m_steps(std::move(steps))
    , m_model(queries)
    , m_command(scene, queries)
{}

CDialogDriver::~CDialogDriver() = default;

// ---- Opening ------------------------------------------------------------------------------------

bool CDialogDriver::Click(QToolButton* linkSubNode, QStringList* problems)
{
    m_stopped = false;
    m_end = EEnd::Open;
    m_driveProblems.clear();

    m_command.Begin();
    m_expectOpen = linkSubNode->isEnabled() && m_command.PreviousParent() != nullptr;

    const bool opened =
        CModalWatch::Run([linkSubNode] { QTest::mouseClick(linkSubNode, Qt::LeftButton); },
                         [this](QDialog* dialog) { Drive(dialog); });
    if (!opened) {
        if (m_expectOpen)
            problems->append(QStringLiteral("qtLinkSubNode opened no modal dialog for an object "
                                            "linked to \"%1\"")
                                 .arg(m_command.Render(m_command.PreviousParent())));
        return true;
    }
    if (m_stopped)
        return false;
    *problems += m_driveProblems;
    if (m_end != EEnd::Open) {
        m_command.CheckEnd(m_end == EEnd::Accepted, problems);
        m_commandToJudge = true;
    }
    return true;
}

void CDialogDriver::AfterCommand(QStringList* problems)
{
    if (!m_commandToJudge)
        return;
    m_commandToJudge = false;
    m_command.CheckAfterCommand(m_end == EEnd::Accepted, problems);
}

void CDialogDriver::CheckPreview(QStringList* problems)
{
    m_command.CheckPreview(m_user->Tree()->selectedItems().size(), FirstSelectedNode(),
                           m_user->CheckedAlignment(), m_steps.faulted, problems);
}

void CDialogDriver::Drive(QDialog* dialog)
{
    if (!m_expectOpen) {
        m_driveProblems.append(QStringLiteral("a dialog opened although qtLinkSubNode was "
                                              "disabled or the object has no link parent"));
        dialog->reject();
        return;
    }
    if (m_dialog && m_dialog != dialog)
        m_driveProblems.append(QStringLiteral("a second link-to-sub-node dialog was made; the "
                                              "section makes it once and reuses it"));
    if (m_dialog != dialog) {
        m_dialog = dialog;
        m_user = std::make_unique<CSubNodeDialogUser>(dialog);
        const QStringList missing = m_user->MissingControls();
        for (const QString& control : missing)
            m_driveProblems.append(QStringLiteral("the dialog holds no %1").arg(control));
        if (!missing.isEmpty()) {
            dialog->reject();
            return;
        }
        QObject::connect(
            m_user->Search(), &QLineEdit::textChanged, dialog,
            [this](const QString& text) { m_model.SearchChanged(m_user->Tree(), text); });
    }
    // The tester checks the tree the opening built and watches it while the dialog is open.
    // It goes before the dialog closes: it must never outlive the model it watches, which
    // still sends signals while it is being destroyed.
    std::unique_ptr<QAbstractItemModelTester> tester;
    if (m_watchTreeModel)
        tester = std::make_unique<QAbstractItemModelTester>(
            m_user->Tree()->model(), QAbstractItemModelTester::FailureReportingMode::Warning);
    QStringList problems;
    problems.swap(m_driveProblems);
    CheckOpening(&problems);
    CheckPreview(&problems);
    if (!m_steps.check(problems)) {
        m_stopped = true;
        m_model.Close();
        dialog->reject();
        return;
    }
    const int steps = static_cast<int>(m_random.bounded(12));
    for (int i = 0; i < steps && m_end == EEnd::Open && !m_stopped; ++i)
        m_stopped = !DoStep();
    for (int attempt = 0; attempt < 3 && m_end == EEnd::Open && !m_stopped; ++attempt)
        End();
    m_model.Close();
    if (m_stopped) {
        if (dialog->isVisible())
            dialog->reject();
        return;
    }
    if (m_end == EEnd::Open) {
        m_driveProblems.append(QStringLiteral("the dialog does not close"));
        dialog->done(QDialog::Rejected);
        m_end = EEnd::Rejected;
    }
}

void CDialogDriver::CheckOpening(QStringList* problems)
{
    const CSubNodeDialogUser& user = *m_user;
    if (user.CheckedAlignment() != 0 || !user.Alignment(0)->isChecked())
        problems->append(QStringLiteral("the dialog opens without qtNoAlign as the only "
                                        "alignment checked"));
    if (!user.Search()->text().isEmpty())
        problems->append(QStringLiteral("the dialog opens with the search text \"%1\"")
                             .arg(user.Search()->text()));
    const bool hierarchy = m_model.HierarchyView();
    const bool expand = m_model.ExpandRoot();
    if (user.HierarchyAction()->isChecked() != hierarchy ||
        user.ListAction()->isChecked() == hierarchy || user.ExpandAction()->isChecked() != expand ||
        user.CollapseAction()->isChecked() == expand)
        problems->append(
            QStringLiteral("the view menu's check marks do not show the %1 view with %2")
                .arg(hierarchy ? QStringLiteral("hierarchy") : QStringLiteral("list"),
                     expand ? QStringLiteral("Expand") : QStringLiteral("Collapse")));
    m_model.Open(user.Tree(), m_command.Owner(), m_command.Render(m_command.Owner()),
                 m_command.PreviousParent(), problems);
}

// ---- Steps --------------------------------------------------------------------------------------

bool CDialogDriver::DoStep()
{
    // Any step may end the dialog; what the section does then is judged from here on.
    m_command.MayEnd(FirstSelectedNode(), m_user->CheckedAlignment());
    QStringList problems;
    const int choice = static_cast<int>(m_random.bounded(100));
    if (choice < 35)
        ClickItem();
    else if (choice < 55)
        ClickAlignment(&problems);
    else if (choice < 75)
        TypeSearch();
    else if (choice < 90)
        UseViewMenu(&problems);
    else
        PressKey(&problems);

    if (m_end == EEnd::Open && !m_dialog->isVisible()) {
        m_end = Result();
        m_driveProblems.append(QStringLiteral("the dialog closed on this step"));
        m_driveProblems += problems;
    }
    if (m_end != EEnd::Open)
        return true; // checked once the dialog's event loop has ended
    m_model.Compare(*m_user, &problems);
    CheckPreview(&problems);
    return m_steps.check(problems);
}

void CDialogDriver::ClickItem()
{
    const QList<QTreeWidgetItem*> reachable = m_user->ReachableItems();
    if (reachable.isEmpty()) {
        m_steps.begin(QStringLiteral("dialog: look at an empty tree"));
        return;
    }
    QTreeWidgetItem* item = reachable.at(static_cast<int>(m_random.bounded(reachable.size())));
    m_steps.begin(QStringLiteral("dialog: click the tree item \"%1\"").arg(item->text(0)));
    if (m_user->ClickItem(item))
        m_model.ItemClicked(m_user->Tree(), item);
}

void CDialogDriver::ClickAlignment(QStringList* problems)
{
    const int choice = static_cast<int>(m_random.bounded(3));
    m_steps.begin(QStringLiteral("dialog: choose %1").arg(QLatin1String(kAlignNames[choice])));
    m_user->ChooseAlignment(choice);
    m_model.AlignmentChosen(choice);
    for (int i = 0; i < 3; ++i) {
        if (m_user->Alignment(i)->isChecked() != (i == choice))
            problems->append(QStringLiteral("after a click on %1, %2 is %3")
                                 .arg(QLatin1String(kAlignNames[choice]),
                                      QLatin1String(kAlignNames[i]),
                                      CheckedText(m_user->Alignment(i)->isChecked())));
    }
}

void CDialogDriver::TypeSearch()
{
    const QLineEdit* search = m_user->Search();
    const int choice = static_cast<int>(m_random.bounded(10));
    if (choice < 2 && !search->text().isEmpty()) {
        m_steps.begin(QStringLiteral("dialog: empty the search field"));
        m_user->EraseSearch();
        return;
    }
    if (choice < 3 && !search->text().isEmpty()) {
        m_steps.begin(QStringLiteral("dialog: delete the last letter of the search"));
        m_user->DeleteLastLetter();
        return;
    }
    QString text;
    const QList<QTreeWidgetItem*> items = m_user->Items();
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
    if (m_random.bounded(2) == 0 && !search->text().isEmpty())
        m_user->EraseSearch();
    m_steps.begin(QStringLiteral("dialog: type \"%1\" into the search field").arg(text));
    m_user->TypeInSearch(text);
}

void CDialogDriver::UseViewMenu(QStringList* problems)
{
    const CSubNodeDialogUser& user = *m_user;
    QAction* actions[] = {user.HierarchyAction(), user.ListAction(), user.ExpandAction(),
                          user.CollapseAction()};
    const int choice = static_cast<int>(m_random.bounded(4));
    QAction* action = actions[choice];
    m_steps.begin(QStringLiteral("dialog: choose %1 in the view menu").arg(action->objectName()));
    QList<UB::CHandle*> selected;
    for (QTreeWidgetItem* item : user.Tree()->selectedItems()) {
        bool present = false;
        bool wrongType = false;
        selected.append(CNodeListing::Handle(item, &present, &wrongType));
    }
    bool enabled = false;
    bool listed = false;
    const bool opened = m_user->ChooseView(action, [&](QMenu* menu) {
        const bool listChecked = user.ListAction()->isChecked();
        if (user.ExpandAction()->isEnabled() == listChecked ||
            user.CollapseAction()->isEnabled() == listChecked ||
            !user.HierarchyAction()->isEnabled() || !user.ListAction()->isEnabled())
            problems->append(
                QStringLiteral("the view menu opens with Expand and Collapse %1 in the %2 view")
                    .arg(user.ExpandAction()->isEnabled() ? QStringLiteral("enabled")
                                                          : QStringLiteral("disabled"),
                         listChecked ? QStringLiteral("list") : QStringLiteral("hierarchy")));
        enabled = action->isEnabled();
        listed = !menu->actionGeometry(action).isEmpty();
    });
    if (!opened || !listed) {
        problems->append(
            QStringLiteral("the view menu did not open with %1 in it").arg(action->objectName()));
        return;
    }
    if (!enabled)
        return;
    if (choice < 2) {
        const bool hierarchy = choice == 0;
        if (user.HierarchyAction()->isChecked() != hierarchy ||
            user.ListAction()->isChecked() == hierarchy)
            problems->append(QStringLiteral("after %1, Hierarchy is %2 and List is %3")
                                 .arg(action->objectName(),
                                      CheckedText(user.HierarchyAction()->isChecked()),
                                      CheckedText(user.ListAction()->isChecked())));
        m_model.ViewChosen(user.Tree(), hierarchy, selected, problems);
        return;
    }
    const bool expand = choice == 2;
    if (user.ExpandAction()->isChecked() != expand || user.CollapseAction()->isChecked() == expand)
        problems->append(QStringLiteral("after %1, Expand is %2 and Collapse is %3")
                             .arg(action->objectName(),
                                  CheckedText(user.ExpandAction()->isChecked()),
                                  CheckedText(user.CollapseAction()->isChecked())));
    m_model.ExpandChosen(expand);
}

void CDialogDriver::PressKey(QStringList* problems)
{
    const int choice = static_cast<int>(m_random.bounded(3));
    if (choice == 0) {
        m_steps.begin(QStringLiteral("dialog: press Return"));
        m_user->PressKey(Qt::Key_Return);
    } else if (choice == 1) {
        m_steps.begin(QStringLiteral("dialog: press Escape"));
        m_user->PressKey(Qt::Key_Escape);
    } else {
        m_steps.begin(QStringLiteral("dialog: press keypad Enter"));
        const bool pending = m_model.TakePendingEnter();
        m_user->PressKey(Qt::Key_Enter, Qt::KeypadModifier);
        if (!pending) {
            if (m_dialog->isVisible())
                problems->append(QStringLiteral("keypad Enter without a search before it does not "
                                                "confirm the dialog"));
            else
                m_end = Result();
            return;
        }
    }
    if (!m_dialog->isVisible())
        problems->append(QStringLiteral("the key closed the dialog"));
}

// ---- Ending -------------------------------------------------------------------------------------

void CDialogDriver::End()
{
    const int choice = static_cast<int>(m_random.bounded(100));
    m_command.MayEnd(FirstSelectedNode(), m_user->CheckedAlignment());
    EEnd expected = EEnd::Rejected;
    if (choice < 40) {
        m_steps.begin(QStringLiteral("dialog: click OK"));
        CSubNodeDialogUser::Click(m_user->Ok());
        expected = EEnd::Accepted;
    } else if (choice < 75) {
        m_steps.begin(QStringLiteral("dialog: click Cancel"));
        CSubNodeDialogUser::Click(m_user->Cancel());
    } else if (choice < 90) {
        m_steps.begin(QStringLiteral("dialog: press keypad Enter to finish"));
        const bool pending = m_model.TakePendingEnter();
        m_user->PressKey(Qt::Key_Enter, Qt::KeypadModifier);
        if (pending) {
            if (!m_dialog->isVisible()) {
                m_driveProblems.append(QStringLiteral("the first keypad Enter after a search "
                                                      "closed the dialog"));
                m_end = Result();
                return;
            }
            if (!m_steps.check({}))
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
    m_end = Result();
    if (m_end != expected)
        m_driveProblems.append(expected == EEnd::Accepted
                                   ? QStringLiteral("the dialog was rejected, not accepted")
                                   : QStringLiteral("the dialog was accepted, not rejected"));
}

CDialogDriver::EEnd CDialogDriver::Result() const
{
    return m_dialog->result() == QDialog::Accepted ? EEnd::Accepted : EEnd::Rejected;
}

UB::CHandle* CDialogDriver::FirstSelectedNode() const
{
    const QList<QTreeWidgetItem*> selected = m_user->Tree()->selectedItems();
    if (selected.isEmpty())
        return nullptr;
    bool present = false;
    bool wrongType = false;
    return CNodeListing::Handle(selected.constFirst(), &present, &wrongType);
}

} // namespace KV
