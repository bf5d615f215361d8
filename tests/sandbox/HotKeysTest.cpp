// Hot keys of the actions the plug-in registers: the sandbox's key map, the Hot Keys dialog and
// the user's keys kept in the settings.

#include "SandboxTest.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTreeWidget>

namespace KV::test {

namespace {

QTreeWidgetItem* Row(QTreeWidget* table, const QString& actionName)
{
    for (int i = 0; i < table->topLevelItemCount(); ++i) {
        if (table->topLevelItem(i)->toolTip(2) == actionName)
            return table->topLevelItem(i);
    }
    return nullptr;
}

template<typename T>
T* Child(QWidget* dialog, const char* name)
{
    T* child = dialog->findChild<T*>(QLatin1String(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

} // namespace

using HotKeysTest = SandboxWithPluginTest;

TEST_F(HotKeysTest, HotKeysDialogListsTheRegisteredActionsAndKeepsTheKeysTheUserChanges)
{
    OpenWindow();
    QStringList listed;
    QString linkRow;
    QString conflict;
    int keyColumnEnd = 0;
    int keyColumnRoom = 0;
    CModalAnswer answer([&](QWidget* dialog) {
        auto* table = Child<QTreeWidget>(dialog, "qtHotKeyTable");
        auto* edit = Child<QKeySequenceEdit>(dialog, "qtHotKeyEdit");
        for (int i = 0; i < table->topLevelItemCount(); ++i)
            listed << table->topLevelItem(i)->toolTip(2);
        QTreeWidgetItem* link = Row(table, QStringLiteral("qtLinkAction"));
        QTreeWidgetItem* unlink = Row(table, QStringLiteral("qtUnlinkAction"));
        ASSERT_NE(link, nullptr);
        ASSERT_NE(unlink, nullptr);
        linkRow = QStringList{link->text(0), link->text(1), link->text(3)}.join(QLatin1Char('|'));
        // The key column shows whole, without scrolling.
        keyColumnEnd = table->header()->sectionViewportPosition(3) + table->columnWidth(3);
        keyColumnRoom = table->viewport()->width();

        // The key edit takes a key once the user has stopped typing for a moment.
        const QString ctrlJ =
            QKeySequence(QStringLiteral("Ctrl+J")).toString(QKeySequence::NativeText);
        table->setCurrentItem(link);
        QTest::keyClick(edit, Qt::Key_J, Qt::ControlModifier);
        EXPECT_TRUE(WaitUntil([&] { return link->text(3) == ctrlJ; }));
        table->setCurrentItem(unlink);
        QTest::keyClick(edit, Qt::Key_J, Qt::ControlModifier);
        EXPECT_TRUE(WaitUntil([&] { return unlink->text(3) == ctrlJ; }));
        conflict = Child<QLabel>(dialog, "qtHotKeyConflict")->text();
        QTest::mouseClick(Child<QPushButton>(dialog, "qtHotKeyDefault"), Qt::LeftButton);
        EXPECT_TRUE(Child<QLabel>(dialog, "qtHotKeyConflict")->text().isEmpty());
        QTest::mouseClick(
            Child<QDialogButtonBox>(dialog, "qtHotKeyButtons")->button(QDialogButtonBox::Ok),
            Qt::LeftButton);
    });
    Action(QStringLiteral("qtHotKeysAction"))->trigger();
    ASSERT_TRUE(answer.Answered());

    EXPECT_EQ(listed,
              (QStringList{QStringLiteral("qtLinkageSectionHotkey"), QStringLiteral("qtLinkAction"),
                           QStringLiteral("qtUnlinkAction"), QStringLiteral("qtEscHotkey")}));
    // The category's levels without the "[Hot Key]" that each of them repeats.
    EXPECT_EQ(linkRow,
              QStringLiteral("Modify › Attribute › Linkage|KVLinkagePlugin|%1")
                  .arg(QKeySequence(QStringLiteral("Ctrl+L")).toString(QKeySequence::NativeText)));
    EXPECT_LE(keyColumnEnd, keyColumnRoom);
    EXPECT_TRUE(conflict.contains(QStringLiteral("Link"))) << conflict.toStdString();

    EXPECT_EQ(Action(QStringLiteral("qtLinkAction"))->shortcut(),
              QKeySequence(QStringLiteral("Ctrl+J")));
    EXPECT_EQ(Action(QStringLiteral("qtUnlinkAction"))->shortcut(),
              QKeySequence(QStringLiteral("Ctrl+Shift+L")));
    Window().Settings()->sync();
    const QSettings stored(SettingsFile(), QSettings::IniFormat);
    EXPECT_EQ(stored.value(QStringLiteral("HotKeys/KVLinkagePlugin/qtLinkAction")).toString(),
              QStringLiteral("Ctrl+J"));
    // A key put back to its default follows the key map, not a stored copy of it.
    EXPECT_FALSE(stored.contains(QStringLiteral("HotKeys/KVLinkagePlugin/qtUnlinkAction")));

    // The next session starts with the user's key.
    OpenWindow();
    EXPECT_EQ(Action(QStringLiteral("qtLinkAction"))->shortcut(),
              QKeySequence(QStringLiteral("Ctrl+J")));
    ClickNode(QStringLiteral("Sword"));
    QTest::keyClick(&Window(), Qt::Key_J, Qt::ControlModifier);
    EXPECT_EQ(Scene().PickMode(), ePickParent);
}

TEST_F(HotKeysTest, CancelledHotKeysDialogChangesNoKey)
{
    OpenWindow();
    CModalAnswer answer([&](QWidget* dialog) {
        auto* table = Child<QTreeWidget>(dialog, "qtHotKeyTable");
        table->setCurrentItem(Row(table, QStringLiteral("qtLinkAction")));
        QTest::mouseClick(Child<QPushButton>(dialog, "qtHotKeyNone"), Qt::LeftButton);
        QTest::mouseClick(
            Child<QDialogButtonBox>(dialog, "qtHotKeyButtons")->button(QDialogButtonBox::Cancel),
            Qt::LeftButton);
    });
    Action(QStringLiteral("qtHotKeysAction"))->trigger();
    ASSERT_TRUE(answer.Answered());
    EXPECT_EQ(Action(QStringLiteral("qtLinkAction"))->shortcut(),
              QKeySequence(QStringLiteral("Ctrl+L")));
    Window().Settings()->sync();
    EXPECT_FALSE(QSettings(SettingsFile(), QSettings::IniFormat)
                     .childGroups()
                     .contains(QStringLiteral("HotKeys")));
}

} // namespace KV::test
