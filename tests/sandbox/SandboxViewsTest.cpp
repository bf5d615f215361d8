// The host side of the sandbox on its own (no plug-in): selection in the viewport and the
// outliner, the pick-parent mode, the Object section, the Host Calls panel, the Developer menu
// and the sandbox's own dialogs.

#include "SandboxTest.h"
#include "support/SceneSnapshotAssert.h"

#include "CDeveloperMenu.h"
#include "CHostCallsPanel.h"
#include "COutliner.h"
#include "CViewport.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>

#include <algorithm>

namespace KV::test {

namespace {

QStringList Names(CSceneModel& scene, const QVector<UB::CHandle*>& nodes)
{
    QStringList names;
    for (UB::CHandle* node : nodes)
        names << scene.Name(node);
    return names;
}

void ClickOutlinerItem(COutliner* outliner, UB::CHandle* node, Qt::KeyboardModifiers modifiers)
{
    // Rows are rebuilt after scene changes: look the row up once pending events have run.
    QCoreApplication::processEvents();
    QTreeWidgetItem* item = outliner->ItemOf(node);
    ASSERT_NE(item, nullptr);
    outliner->scrollToItem(item);
    QTest::mouseClick(outliner->viewport(), Qt::LeftButton, modifiers,
                      outliner->visualItemRect(item).center());
}

} // namespace

TEST_F(SandboxTest, SelectionFollowsClicksCtrlClicksAndTheRubberBandInBothViews)
{
    OpenWindowWithoutPlugins();
    CViewport* viewport = Window().Viewport();
    COutliner* outliner = Window().Outliner();
    auto selected = [&] {
        return Names(Scene(), Scene().Selection());
    };

    ClickNode(QStringLiteral("Sword"));
    EXPECT_EQ(selected(), QStringList{QStringLiteral("Sword")});
    EXPECT_TRUE(outliner->ItemOf(Node(QStringLiteral("Sword")))->isSelected());
    ClickNode(QStringLiteral("Barrel"), Qt::ControlModifier);
    EXPECT_EQ(selected(), (QStringList{QStringLiteral("Sword"), QStringLiteral("Barrel")}));
    EXPECT_TRUE(outliner->ItemOf(Node(QStringLiteral("Barrel")))->isSelected());
    ClickNode(QStringLiteral("Sword"), Qt::ControlModifier);
    EXPECT_EQ(selected(), QStringList{QStringLiteral("Barrel")});
    EXPECT_FALSE(outliner->ItemOf(Node(QStringLiteral("Sword")))->isSelected());

    const QPoint empty(4, 4);
    ASSERT_EQ(viewport->NodeAt(empty), nullptr);
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, empty);
    EXPECT_TRUE(selected().isEmpty());

    // A band around the anvil, the table and the barrel takes those three objects only.
    QRect band;
    for (const char* name : {"Anvil", "Table", "Barrel"})
        band |= QRect(viewport->NodePosition(Node(QLatin1String(name))), QSize(1, 1));
    band.adjust(-6, -6, 6, 6);
    QStringList inside;
    for (UB::CHandle* object : Scene().Objects()) {
        if (band.contains(viewport->NodePosition(object)))
            inside << Scene().Name(object);
    }
    ASSERT_EQ(inside.size(), 3) << inside.join(QStringLiteral(", ")).toStdString();
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, band.topLeft());
    QTest::mouseMove(viewport, band.center());
    QTest::mouseMove(viewport, band.bottomRight());
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, band.bottomRight());
    QStringList banded = selected();
    std::sort(banded.begin(), banded.end());
    EXPECT_EQ(banded, (QStringList{QStringLiteral("Anvil"), QStringLiteral("Barrel"),
                                   QStringLiteral("Table")}));

    // The outliner selects for the scene, in the order of the clicks.
    ClickOutlinerItem(outliner, Node(QStringLiteral("Lantern")), Qt::NoModifier);
    ClickOutlinerItem(outliner, Node(QStringLiteral("Cart")), Qt::ControlModifier);
    EXPECT_EQ(selected(), (QStringList{QStringLiteral("Lantern"), QStringLiteral("Cart")}));
}

TEST_F(SandboxTest, PickModeRefusesACycleWithTheReasonAndARightClickEndsIt)
{
    OpenWindowWithoutPlugins();
    ClickNode(QStringLiteral("Knight"));
    Action(QStringLiteral("qtPickMode2"))->trigger();
    ASSERT_EQ(Scene().PickMode(), ePickParent);
    EXPECT_EQ(Window().Viewport()->cursor().shape(), Qt::CrossCursor);

    ClickNode(QStringLiteral("Hand_R"));
    EXPECT_EQ(ParentName(QStringLiteral("Knight")), QString());
    EXPECT_TRUE(StatusText().contains(QStringLiteral("Hand_R hangs below Knight")))
        << StatusText().toStdString();
    EXPECT_TRUE(StatusText().contains(QStringLiteral("cycle")));
    EXPECT_EQ(Scene().PickMode(), ePickParent);

    ClickNode(QStringLiteral("Knight"));
    EXPECT_TRUE(StatusText().contains(QStringLiteral("cannot be its own parent")));

    QTest::mouseClick(Window().Viewport(), Qt::RightButton, Qt::NoModifier, QPoint(4, 4));
    EXPECT_EQ(Scene().PickMode(), ePickNone);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "no context menu after a cancel";
    EXPECT_EQ(Scene().Selection().size(), 1);
}

TEST_F(SandboxTest, ObjectSectionShowsTheFirstSelectedObjectAtTheCurrentTime)
{
    OpenWindowWithoutPlugins();
    auto text = [&](const char* name) {
        return Find<QLabel>(QLatin1String(name))->text();
    };
    EXPECT_EQ(text("qtObjectName"), QStringLiteral("Nothing selected"));

    ClickNode(QStringLiteral("Shield"));
    EXPECT_EQ(text("qtObjectName"), QStringLiteral("Shield"));
    EXPECT_EQ(text("qtObjectType"), QStringLiteral("3 – Mesh"));
    // Both characters have a Grip_L: the parent is named with its character, the table alone.
    EXPECT_EQ(text("qtObjectParent"), QStringLiteral("Grip_L (Knight)"));
    EXPECT_EQ(text("qtObjectLinkKeys"), QStringLiteral("0: Grip_L (Knight); 60: Table"));
    const TransformRecord world = Scene().WorldTransformAt(Node(QStringLiteral("Shield")), 0);
    EXPECT_EQ(text("qtObjectWorldPosition"), QStringLiteral("%1, %2, %3")
                                                 .arg(world.position[0], 0, 'f', 1)
                                                 .arg(world.position[1], 0, 'f', 1)
                                                 .arg(world.position[2], 0, 'f', 1));
    Scene().SetCurrentTime(65);
    EXPECT_EQ(text("qtObjectParent"), QStringLiteral("Table"));

    const std::pair<const char*, const char*> flagged[] = {
        {"Anvil", "link blocked"},
        {"Banner", "link disabled"},
        {"Pouch_Hidden", "not a sub-node target"},
        {"Sheath", "sub-node link excluded"},
    };
    for (const auto& row : flagged) {
        Scene().SetSelection({Node(QLatin1String(row.first))});
        EXPECT_EQ(text("qtObjectFlags"), QLatin1String(row.second)) << row.first;
    }
}

TEST_F(SandboxTest, HostCallsPanelShowsCallsEventsAndHostActionsAndFiltersThem)
{
    OpenWindowWithoutPlugins();
    CHostCallsPanel* panel = Window().HostCalls();
    panel->Clear();

    ClickNode(QStringLiteral("Sword"));
    Action(QStringLiteral("qtPickMode2"))->trigger();
    ClickNode(QStringLiteral("Hand_R"));

    const QString all = panel->VisibleLines().join(QLatin1Char('\n'));
    for (const char* expected :
         {"event  ObjectSelectionChanged()", "event  PickedModeChanged(2, 0)",
          "call   LinkObjects(", "event  ObjectDataChanged2(CLinkEvent)",
          "event  HierarchyChanged()", "host   Linked Sword to Hand_R.",
          "event  PickedModeChanged(0, 2)"}) {
        EXPECT_TRUE(all.contains(QLatin1String(expected))) << expected << "\n" << all.toStdString();
    }

    panel->SetFilter(QStringLiteral("linkobjects"));
    const QStringList calls = panel->VisibleLines();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_TRUE(calls.first().contains(QStringLiteral("Sword")));
    EXPECT_TRUE(calls.first().contains(QStringLiteral("Hand_R")));
    EXPECT_TRUE(calls.first().endsWith(QStringLiteral("-> 0")));

    panel->SetFilter(QStringLiteral("event"));
    const QStringList events = panel->VisibleLines();
    EXPECT_GE(events.size(), 5);
    for (const QString& line : events)
        EXPECT_TRUE(line.contains(QStringLiteral("event"))) << line.toStdString();

    panel->SetFilter(QString());
    panel->Clear();
    EXPECT_TRUE(panel->VisibleLines().isEmpty());
    // The filter field's clear button fades out and frees its animation only after the fade;
    // let it finish so the leak check sees no half-run animation.
    QTest::qWait(250);
}

TEST_F(SandboxTest, FailingHostCallsFromTheDeveloperMenuRefuseThePickUntilCleared)
{
    OpenWindowWithoutPlugins();
    ClickNode(QStringLiteral("Sword"));
    Window().DeveloperMenu()->FaultAction(QStringLiteral("LinkObjects"))->trigger();
    Action(QStringLiteral("qtPickMode2"))->trigger();

    ClickNode(QStringLiteral("Hand_R"));
    EXPECT_EQ(ParentName(QStringLiteral("Sword")), QString());
    EXPECT_TRUE(StatusText().contains(QStringLiteral("refused with code 0x80004005")))
        << StatusText().toStdString();
    EXPECT_EQ(Scene().PickMode(), ePickParent);
    EXPECT_FALSE(Window().isWindowModified());

    Action(QStringLiteral("qtClearFaultsAction"))->trigger();
    EXPECT_FALSE(Window().DeveloperMenu()->FaultAction(QStringLiteral("LinkObjects"))->isChecked());
    ClickNode(QStringLiteral("Hand_R"));
    EXPECT_EQ(ParentName(QStringLiteral("Sword")), QStringLiteral("Hand_R"));
    EXPECT_TRUE(Window().isWindowModified());
}

TEST_F(SandboxWithPluginTest, AFailedCallBehindAPluginCommandIsReportedOnce)
{
    OpenWindow();
    ClickNode(QStringLiteral("Sword"));
    const CSceneSnapshot before = Scene().Snapshot();
    const int reported = Window().HostCalls()->VisibleLines().size();
    Window().DeveloperMenu()->FaultAction(QStringLiteral("LinkObjects"))->trigger();

    ASSERT_TRUE(ClickButton(QStringLiteral("qtLinkCameraPushButton")));
    const QString message = QStringLiteral(
        "Host call failed: LinkObjects([Sword], Camera01, 0, 0, true, true) returned 0x80004005.");
    EXPECT_EQ(StatusText(), message);
    const QStringList lines = Window().HostCalls()->VisibleLines().mid(reported);
    EXPECT_EQ(lines.filter(message).size(), 1) << lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(KV::Test::SameScene(before, Scene().Snapshot()));
}

TEST_F(SandboxTest, DeletingTheSelectionReachesEveryView)
{
    OpenWindowWithoutPlugins();
    ClickNode(QStringLiteral("Cart"));
    UB::CHandle* lantern = Node(QStringLiteral("Lantern"));
    const QPoint lanternAt = Window().Viewport()->NodePosition(lantern);
    Action(QStringLiteral("qtDeleteSelection"))->trigger();

    // The cart goes; the lantern that hung on it stays where it was, unlinked.
    EXPECT_EQ(Scene().FindByName(QStringLiteral("Cart")), nullptr);
    EXPECT_EQ(ParentName(QStringLiteral("Lantern")), QString());
    EXPECT_EQ(Window().Viewport()->NodePosition(lantern), lanternAt);
    EXPECT_EQ(Find<QLabel>(QStringLiteral("qtObjectName"))->text(),
              QStringLiteral("Nothing selected"));
    EXPECT_TRUE(WaitUntil([&] {
        return Window()
            .Outliner()
            ->findItems(QStringLiteral("Cart"), Qt::MatchExactly | Qt::MatchRecursive)
            .isEmpty();
    }));
    EXPECT_NE(Window().Outliner()->ItemOf(lantern), nullptr);
    EXPECT_TRUE(Window()
                    .HostCalls()
                    ->VisibleLines()
                    .join(QLatin1Char('\n'))
                    .contains(QStringLiteral("ObjectDeleted([")));

    // Deleting is an undo step like any other: undone, the scene is as saved again.
    EXPECT_TRUE(Window().isWindowModified());
    Action(QStringLiteral("qtUndoAction"))->trigger();
    EXPECT_EQ(ParentName(QStringLiteral("Lantern")), QStringLiteral("Cart"));
    EXPECT_FALSE(Window().isWindowModified());
}

TEST_F(SandboxTest, SandboxDialogsRunInTheHostsDialogMode)
{
    OpenWindowWithoutPlugins();
    QSignalSpy modes(Scene().EventSender(), &CEventSender::DialogModeChanged);
    for (const char* action : {"qtHotKeysAction", "qtAboutAction", "qtPluginsAction"}) {
        SCOPED_TRACE(action);
        modes.clear();
        int modeWhileOpen = -1;
        CModalAnswer answer([&](QWidget* dialog) {
            modeWhileOpen = Scene().DialogMode();
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        Action(QLatin1String(action))->trigger();
        ASSERT_TRUE(answer.Answered());
        EXPECT_EQ(modeWhileOpen, eDialogModal);
        EXPECT_EQ(Scene().DialogMode(), eDialogNone);
        ASSERT_EQ(modes.size(), 2);
        EXPECT_EQ(modes[0][0].value<EDialogMode>(), eDialogModal);
        EXPECT_EQ(modes[1][0].value<EDialogMode>(), eDialogNone);
    }
}

} // namespace KV::test
