// What the user does during a session: every way of giving the three section commands, the
// sub-node dialog, the split button's drop-down and the two hot keys; each is judged by what
// it asks of the host.

#include "CSessionRunner.h"

#include "CDialogDriver.h"
#include "CHostQueries.h"
#include "CHostWindow.h"
#include "CWidgetOracle.h"
#include "KVSceneModel.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QUndoStack>

namespace KV {

namespace {

bool Visible(const QWidget* widget)
{
    return widget != nullptr && widget->isVisible();
}

QString Names(CSceneModel& scene, const HandleList& handles)
{
    QStringList names;
    for (UB::CHandle* handle : handles)
        names.append(scene.Contains(handle) ? scene.Name(handle) : QStringLiteral("<invalid>"));
    return QLatin1Char('[') + names.join(QStringLiteral(", ")) + QLatin1Char(']');
}

} // namespace

// ---- Ways of giving the commands ----------------------------------------------------------------

void CSessionRunner::ClickSplitButton()
{
    QToolButton* button = m_host->Widgets().splitButton;
    // The main part, away from the drop-down arrow at the right.
    PickParent(
        QStringLiteral("click the split link button"),
        [button] {
            QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier,
                              QPoint(button->width() / 4, button->height() / 2));
        },
        button->isEnabled());
}

void CSessionRunner::ChooseFromSplitMenu()
{
    const CPluginWidgets& w = m_host->Widgets();
    QToolButton* button = w.splitButton;
    QMenu* menu = button->menu();
    const bool chooseLink = Chance(50);
    QAction* action = chooseLink ? w.linkAction.data() : w.unlinkAction.data();
    const QString how = QStringLiteral("choose %1 from the split button's drop-down")
                            .arg(chooseLink ? QStringLiteral("Link") : QStringLiteral("Unlink"));
    const auto act = [menu, action, button] {
        if (menu == nullptr)
            return;
        menu->popup(button->mapToGlobal(QPoint(0, button->height())));
        const QRect rect = menu->actionGeometry(action);
        if (!rect.isEmpty())
            QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, rect.center());
        if (menu->isVisible())
            menu->hide();
    };
    if (chooseLink)
        PickParent(how, act, action->isEnabled());
    else
        Unlink(how, act, action->isEnabled());
}

// ---- What the commands must ask of the host -----------------------------------------------------

void CSessionRunner::PickParent(const QString& how, const std::function<void()>& act, bool runs)
{
    CSceneModel& scene = m_host->Scene();
    Begin(how);
    HandleList selection;
    m_queries->Selection(selection);
    const bool enters = runs && m_queries->CanLink(selection);
    const int before = scene.PickMode();
    act();
    if (enters)
        m_oracle->CommandPickParentRan();
    const int expected = enters && !m_faults.contains(QStringLiteral("SetPickMode")) ? 2 : before;
    if (scene.PickMode() != expected)
        Problem(QStringLiteral("the host's pick mode is %1, should be %2 (%3)")
                    .arg(scene.PickMode())
                    .arg(expected)
                    .arg(enters ? QStringLiteral("the selection may be linked")
                                : QStringLiteral("the command must not enter pick mode")));
}

void CSessionRunner::Unlink(const QString& how, const std::function<void()>& act, bool runs)
{
    CSceneModel& scene = m_host->Scene();
    Begin(how);
    HandleList selection;
    m_queries->Selection(selection);
    HandleList expected;
    if (runs) {
        for (UB::CHandle* object : qAsConst(selection)) {
            if (m_queries->CanLink(object))
                expected.Add(object);
        }
    }
    QStringList linked;
    for (UB::CHandle* object : qAsConst(expected)) {
        if (scene.LinkParentAt(object, scene.CurrentTime()) != nullptr)
            linked.append(scene.Name(object));
    }
    const int stepsBefore = scene.UndoStack()->index();
    const int journalStart = scene.Journal().size();
    act();
    QStringList calledFor;
    QStringList wrongArguments;
    const QString now = QString::number(scene.CurrentTime());
    for (int i = journalStart; i < scene.Journal().size(); ++i) {
        const CJournalEntry& entry = scene.Journal().at(i);
        if (entry.call != QLatin1String("UnlinkObject"))
            continue;
        calledFor.append(entry.args.value(0));
        if (entry.args.mid(1) != QStringList{now, QStringLiteral("true"), QStringLiteral("true")})
            wrongArguments.append(entry.ToString());
    }
    const QString expectedNames = Names(scene, expected);
    const QString calledNames =
        QLatin1Char('[') + calledFor.join(QStringLiteral(", ")) + QLatin1Char(']');
    if (calledNames != expectedNames)
        Problem(QStringLiteral("UnlinkObject was called for %1, should be for %2")
                    .arg(calledNames, expectedNames));
    if (!wrongArguments.isEmpty())
        Problem(QStringLiteral("UnlinkObject got other arguments than (object, %1, true, true): %2")
                    .arg(now, wrongArguments.join(QStringLiteral("; "))));
    if (m_faults.contains(QStringLiteral("UnlinkObject")))
        return;
    // Unlinking any number of objects is one undo step, named after what it did.
    const QString step = linked.size() == 1
                             ? QStringLiteral("Unlink %1").arg(linked.first())
                             : QStringLiteral("Unlink %1 objects").arg(linked.size());
    const int steps = scene.UndoStack()->index() - stepsBefore;
    if (!linked.isEmpty() && (steps != 1 || scene.UndoStack()->undoText() != step))
        Problem(QStringLiteral("unlinking [%1] left %2 undo steps, the last \"%3\"; it is one "
                               "step \"%4\"")
                    .arg(linked.join(QStringLiteral(", ")))
                    .arg(steps)
                    .arg(scene.UndoStack()->undoText(), step));
    for (UB::CHandle* object : qAsConst(expected)) {
        UB::CHandle* parent =
            scene.Contains(object) ? scene.LinkParentAt(object, scene.CurrentTime()) : nullptr;
        if (parent != nullptr)
            Problem(QStringLiteral("\"%1\" still hangs from \"%2\"")
                        .arg(scene.Name(object), scene.Name(parent)));
    }
}

void CSessionRunner::LinkToCamera(const QString& how, const std::function<void()>& act, bool runs)
{
    CSceneModel& scene = m_host->Scene();
    Begin(how);
    HandleList selection;
    m_queries->Selection(selection);
    const bool links =
        runs && selection.GetCount() == 1 && m_queries->ObjectType(selection[0]) == 41;
    UB::CHandle* camera = m_queries->Camera();
    const QString cameraName = m_queries->Name(camera);
    const int journalStart = scene.Journal().size();
    act();
    if (links)
        m_oracle->CommandLinkToCameraRan(cameraName);
    QStringList calls;
    for (int i = journalStart; i < scene.Journal().size(); ++i) {
        const CJournalEntry& entry = scene.Journal().at(i);
        if (entry.call == QLatin1String("LinkObjects") ||
            entry.call == QLatin1String("UnlinkObject"))
            calls.append(entry.ToString().section(QStringLiteral(" -> "), 0, 0));
    }
    QStringList expected;
    if (links)
        expected.append(QStringLiteral("LinkObjects(%1, %2, 0, %3, true, true)")
                            .arg(Names(scene, selection), camera == nullptr ? QStringLiteral("null")
                                                          : scene.Contains(camera)
                                                              ? scene.Name(camera)
                                                              : QStringLiteral("<invalid>"))
                            .arg(scene.CurrentTime()));
    if (calls != expected)
        Problem(QStringLiteral("the link calls were [%1], should be [%2]")
                    .arg(calls.join(QStringLiteral("; ")), expected.join(QStringLiteral("; "))));
}

// ---- The sub-node dialog and the hot keys -------------------------------------------------------

void CSessionRunner::ClickLinkSubNode()
{
    Begin(QStringLiteral("click qtLinkSubNode"));
    if (!m_dialog->Click(m_host->Widgets().linkSubNode, &m_problems))
        m_failed = true;
}

void CSessionRunner::PressSectionHotkey()
{
    const CPluginWidgets& w = m_host->Widgets();
    Begin(QStringLiteral("press the Linkage section hot key"));
    const bool runs = w.sectionHotkey->isEnabled();
    const bool shows =
        runs && Visible(w.section) && !m_faults.contains(QStringLiteral("ShowSection"));
    const QStringList expected = shows ? QStringList{QStringLiteral("(4, 0, 336)")} : QStringList();
    m_sectionShowRequests.clear();
    w.sectionHotkey->trigger();
    if (m_sectionShowRequests != expected)
        Problem(QStringLiteral("the host was asked to show the sections [%1], should be [%2] "
                               "(panel, tab, section; the section is %3)")
                    .arg(m_sectionShowRequests.join(QStringLiteral(", ")),
                         expected.join(QStringLiteral(", ")),
                         Visible(w.section) ? QStringLiteral("visible")
                                            : QStringLiteral("not visible")));
}

void CSessionRunner::PressEscHotkey()
{
    const CPluginWidgets& w = m_host->Widgets();
    CSceneModel& scene = m_host->Scene();
    Begin(QStringLiteral("press the Esc hot key"));
    const bool runs = w.escHotkey->isEnabled();
    const int before = scene.PickMode();
    w.escHotkey->trigger();
    if (runs)
        m_oracle->CommandEscRan();
    const int expected = runs && !m_faults.contains(QStringLiteral("SetPickMode")) ? 0 : before;
    if (scene.PickMode() != expected)
        Problem(QStringLiteral("the host's pick mode is %1, should be %2")
                    .arg(scene.PickMode())
                    .arg(expected));
}

} // namespace KV
