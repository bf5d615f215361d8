#include "NodeDialogFixture.h"
#include "SceneSketch.h"

#include "KVSceneModel.h"
#include "host/KVPluginDialog.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

namespace {

class NodeStructureDlgTest : public NodeDialogFixture
{
protected:
    void SetUp() override
    {
        NodeDialogFixture::SetUp();
        dialog.BuildTree(AddSketch(scene, "Rig\n  Hips\n    Spine\n  Leg_L"), false);
    }

    /// Runs the dialog modally while `act` drives it from the event loop. A dialog that `act`
    /// leaves open is closed with -1, so a test fails instead of hanging.
    int ExecWhile(const std::function<void()>& act)
    {
        QTimer::singleShot(0, &dialog, [this, act] {
            act();
            if (dialog.isVisible())
                dialog.done(-1);
        });
        return dialog.exec();
    }
};

} // namespace

TEST_F(NodeStructureDlgTest, OkHandsBackTheFirstSelectedItemsNodeOrNone)
{
    const struct
    {
        QStringList select; // in selection order
        const char* chosen;
    } cases[] = {
        {{}, nullptr},
        {{"Spine"}, "Spine"},
        {{"Leg_L", "Hips"},
         "Leg_L"}, // the first that selectedItems gives, not the first in the tree
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.select.join(QLatin1Char(',')).toStdString());
        dialog.m_chosenNode = Node("Rig");
        tree->clearSelection();
        for (const QString& name : c.select)
            Item(name.toUtf8().constData())->setSelected(true);

        const int result =
            ExecWhile([this] { QTest::mouseClick(dialog.m_ui.qtOk, Qt::LeftButton); });

        EXPECT_EQ(result, QDialog::Accepted);
        EXPECT_EQ(dialog.m_chosenNode, c.chosen != nullptr ? Node(c.chosen) : nullptr);
    }
}

TEST_F(NodeStructureDlgTest, OkOnTheNullItemHandsBackNoNode)
{
    dialog.BuildTree(nullptr, false);
    tree->topLevelItem(0)->setSelected(true);
    dialog.m_chosenNode = Node("Rig");

    const int result = ExecWhile([this] { QTest::mouseClick(dialog.m_ui.qtOk, Qt::LeftButton); });

    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(dialog.m_chosenNode, nullptr);
}

TEST_F(NodeStructureDlgTest, CancelRejectsWithNoNode)
{
    Item("Spine")->setSelected(true);
    dialog.m_chosenNode = Node("Rig");

    const int result =
        ExecWhile([this] { QTest::mouseClick(dialog.m_ui.qtCancel, Qt::LeftButton); });

    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(dialog.m_chosenNode, nullptr);
}

TEST_F(NodeStructureDlgTest, KeypadEnterConfirmsUnlessTheSearchJustChanged)
{
    Item("Spine")->setSelected(true);
    int result = ExecWhile([this] { QTest::keyClick(tree, Qt::Key_Enter, Qt::KeypadModifier); });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(dialog.m_chosenNode, Node("Spine"));

    bool openAfterFirstEnter = false;
    result = ExecWhile([&] {
        QTest::keyClicks(dialog.m_ui.qtSearch, QStringLiteral("hip"));
        QTest::keyClick(dialog.m_ui.qtSearch, Qt::Key_Enter, Qt::KeypadModifier);
        openAfterFirstEnter = dialog.isVisible() && !dialog.m_enterPending;
        QTest::keyClick(dialog.m_ui.qtSearch, Qt::Key_Enter, Qt::KeypadModifier);
    });
    EXPECT_TRUE(openAfterFirstEnter);
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(dialog.m_chosenNode, Node("Hips"));
}

TEST_F(NodeStructureDlgTest, ReturnAndEscapeNeitherConfirmNorCloseAndKeepEnterPending)
{
    bool openAfterKeys = false;
    bool stillPending = false;
    const int result = ExecWhile([&] {
        QTest::keyClicks(dialog.m_ui.qtSearch, QStringLiteral("leg"));
        QTest::keyClick(dialog.m_ui.qtSearch, Qt::Key_Return);
        QTest::keyClick(tree, Qt::Key_Return);
        QTest::keyClick(tree, Qt::Key_Escape);
        openAfterKeys = dialog.isVisible();
        stillPending = dialog.m_enterPending;
        QTest::mouseClick(dialog.m_ui.qtCancel, Qt::LeftButton);
    });
    EXPECT_TRUE(openAfterKeys);
    EXPECT_TRUE(stillPending);
    EXPECT_EQ(result, QDialog::Rejected);
}

TEST(NodeStructureDlgSetUpTest, NullHostOrUnloadableLayoutLeavesTheDialogUnbuilt)
{
    KV::CSceneModel scene;
    {
        CTestNodeDialog dialog;
        EXPECT_EQ(dialog.Initialize(nullptr).code, UB::ToCode(0x80000003u));
        EXPECT_EQ(dialog.GetTreeWidget(), nullptr);
        EXPECT_TRUE(dialog.findChildren<QWidget*>().isEmpty());
        dialog.BuildTree(scene.AddObject(KV::CNodeDesc{QStringLiteral("Rig")}), false);
        dialog.SelectNode(nullptr);
    }
    {
        CTestNodeDialog dialog;
        EXPECT_EQ(dialog.Initialize(&scene, QStringLiteral(KV_TEST_DATA_DIR "/Missing.ui")),
                  KV::CWidgetBuilder::kLayoutNotLoaded);
        EXPECT_EQ(dialog.GetTreeWidget(), nullptr);
        EXPECT_TRUE(dialog.m_iconPaths.empty()); // the tool was not set up
    }
}

TEST(NodeStructureDlgSetUpTest, SetUpSizesTheColumnToItsTextAndFillsTheOptionEntries)
{
    KV::CSceneModel scene;
    CTestNodeDialog dialog;

    ASSERT_EQ(dialog.Initialize(&scene).code, 0);

    QHeaderView* header = dialog.GetTreeWidget()->header();
    EXPECT_EQ(header->sectionResizeMode(0), QHeaderView::ResizeToContents);
    EXPECT_FALSE(header->stretchLastSection());
    EXPECT_EQ(dialog.m_optionFlags, (std::map<int, bool>{{0, false}}));
    EXPECT_EQ(dialog.m_iconPaths,
              (std::map<int, QString>{{0, ":/KVNodeStructureDlg/icon/SpringBoneTagIcon.svg"}}));
    EXPECT_EQ(dialog.m_host, &scene);
}

TEST(NodeStructureDlgMetaTest, AnswersCastsForItselfAndForTheToolPart)
{
    CTestNodeDialog dialog;
    KV::CNodeStructureDlg* base = &dialog;

    EXPECT_STREQ(base->metaObject()->className(), "KV::CNodeStructureDlg");
    EXPECT_EQ(base->metaObject()->superClass(), &KV::CPluginDialog::staticMetaObject);
    EXPECT_EQ(base->qt_metacast("KV::CNodeStructureDlg"), static_cast<void*>(base));
    EXPECT_EQ(base->qt_metacast("CNodeTreeWidgetTool"),
              static_cast<void*>(static_cast<KV::CNodeTreeWidgetTool*>(base)));
    EXPECT_NE(base->qt_metacast("CNodeTreeWidgetTool"), static_cast<void*>(base));
    EXPECT_EQ(base->qt_metacast("QDialog"), static_cast<void*>(base));
    EXPECT_EQ(base->qt_metacast("KV::CNodeTreeWidgetTool"), nullptr);
    EXPECT_EQ(base->qt_metacast(nullptr), nullptr);
    EXPECT_EQ(qobject_cast<KV::CNodeStructureDlg*>(static_cast<QObject*>(&dialog)), base);
}
