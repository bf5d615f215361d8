// The layouts, settings and icons inside the built resource file: every object the plug-in
// binds is there by name and class, and the widgets behave as the commands need them to.

#include "plugin/CLinkageActionUiComponent.h"
#include "section/CLinkageUiComponent.h"
#include "support/QtPrinters.h"
#include "support/ResourceSuite.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QSvgRenderer>
#include <QToolBar>
#include <QUiLoader>

#include <memory>

namespace {

struct ObjectRow
{
    const char* name;
    const char* className;
};

// The objects each layout must hold for its component, in the component's binding order.
const ObjectRow kActionObjects[] = {
    {"LinkageAction", "QMainWindow"},
    {"qtCLinkMenu", "QMenu"},
    {"qtContextMenu", "QMenu"},
    {"qtEditMenu", "QMenu"},
    {"qtLinkMenu", "QMenu"},
    {"menubar", "QMenuBar"},
    {"statusbar", "QStatusBar"},
    {"qtGeneralToolBar", "QToolBar"},
    {"centralwidget", "QWidget"},
    {"qtLinkAction", "QAction"},
    {"qtUnlinkAction", "QAction"},
    {"qtCLinkToAction", "QAction"},
    {"qtCLinkToCameraAction", "QAction"},
    {"qtCUnlinkAction", "QAction"},
    {"qtLinkMenuAction", "QAction"},
    {"qtLinkageSectionHotkey", "QAction"},
};
const ObjectRow kSectionObjects[] = {
    {"horizontalLayout_206", "QHBoxLayout"},
    {"horizontalLayout_205", "QHBoxLayout"},
    {"gridLayout", "QGridLayout"},
    {"verticalLayout_146", "QVBoxLayout"},
    {"verticalLayout", "QVBoxLayout"},
    {"qtSectionGroupBox", "QGroupBox"},
    {"label_512", "QLabel"},
    {"qtLinkNodeText", "QLineEdit"},
    {"qtExpandPushButton", "QPushButton"},
    {"qtLinkCameraPushButton", "QPushButton"},
    {"qtPickParent", "QPushButton"},
    {"qtUnlink", "QPushButton"},
    {"qtLinkSubNode", "QToolButton"},
    {"Linkage", "QWidget"},
    {"qtEscHotkey", "QAction"},
};

template<std::size_t N>
QVector<QString> BindingOrder(const ObjectRow (&rows)[N])
{
    QVector<QString> names;
    for (const ObjectRow& row : rows)
        names.append(QLatin1String(row.name));
    return names;
}

class LayoutResource : public ResourceSuite<&PluginResourceFile>
{
protected:
    std::unique_ptr<QWidget> Load(const char* layout)
    {
        QFile file(QStringLiteral(":/plugin/KVLinkageSection/") + QLatin1String(layout));
        if (!file.open(QIODevice::ReadOnly))
            return nullptr;
        QUiLoader loader;
        return std::unique_ptr<QWidget>(loader.load(&file));
    }

    // Each row's object exists under `root` (or is `root`) and is exactly of the row's class.
    template<std::size_t N>
    void ExpectObjects(QWidget* root, const ObjectRow (&rows)[N])
    {
        for (const ObjectRow& row : rows) {
            const QString name = QLatin1String(row.name);
            QObject* object = root->objectName() == name ? root : root->findChild<QObject*>(name);
            ASSERT_NE(object, nullptr) << row.name;
            EXPECT_STREQ(object->metaObject()->className(), row.className) << row.name;
        }
    }

    static QStringList Names(const QList<QAction*>& actions)
    {
        QStringList names;
        for (QAction* action : actions)
            names << (action->menu() ? action->menu()->objectName() : action->objectName());
        return names;
    }
};

TEST_F(LayoutResource, ActionsLayoutHoldsTheCommandsInTheirMenusAndToolBar)
{
    std::unique_ptr<QWidget> root = Load("Linkage_Action.ui");
    ASSERT_NE(root, nullptr);
    ExpectObjects(root.get(), kActionObjects);

    auto* window = qobject_cast<QMainWindow*>(root.get());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Names(window->menuBar()->actions()),
              (QStringList{QStringLiteral("qtEditMenu"), QStringLiteral("qtContextMenu")}));
    auto menu = [&](const char* name) {
        return root->findChild<QMenu*>(QLatin1String(name));
    };
    EXPECT_EQ(Names(menu("qtEditMenu")->actions()), QStringList{QStringLiteral("qtLinkMenu")});
    EXPECT_EQ(Names(menu("qtLinkMenu")->actions()),
              (QStringList{QStringLiteral("qtLinkAction"), QStringLiteral("qtUnlinkAction")}));
    EXPECT_EQ(Names(menu("qtContextMenu")->actions()), QStringList{QStringLiteral("qtCLinkMenu")});
    EXPECT_EQ(
        Names(menu("qtCLinkMenu")->actions()),
        (QStringList{QStringLiteral("qtCLinkToAction"), QStringLiteral("qtCLinkToCameraAction"),
                     QStringLiteral("qtCUnlinkAction")}));
    EXPECT_EQ(Names(root->findChild<QToolBar*>(QStringLiteral("qtGeneralToolBar"))->actions()),
              QStringList{QStringLiteral("qtLinkMenuAction")});
    EXPECT_TRUE(root->findChild<QAction*>(QStringLiteral("qtLinkageSectionHotkey"))
                    ->associatedWidgets()
                    .isEmpty())
        << "the section hot key is a hot key only";

    // What an animator reads: every command has a text, an explanation and an icon.
    for (const char* name : {"qtLinkAction", "qtUnlinkAction", "qtCLinkToAction",
                             "qtCLinkToCameraAction", "qtCUnlinkAction"}) {
        QAction* action = root->findChild<QAction*>(QLatin1String(name));
        EXPECT_FALSE(action->text().isEmpty()) << name;
        EXPECT_FALSE(action->statusTip().isEmpty()) << name;
        EXPECT_FALSE(action->toolTip().isEmpty()) << name;
        EXPECT_FALSE(action->icon().isNull()) << name;
    }
}

TEST_F(LayoutResource, SectionLayoutHoldsTheFifteenObjectsAndTheEscActionOfTheWidget)
{
    std::unique_ptr<QWidget> root = Load("Linkage.ui");
    ASSERT_NE(root, nullptr);
    ExpectObjects(root.get(), kSectionObjects);
    EXPECT_EQ(Names(root->actions()), QStringList{QStringLiteral("qtEscHotkey")});
}

TEST_F(LayoutResource, SubNodeDialogLayoutHoldsItsObjectsTheSpacerAndExclusiveChoices)
{
    std::unique_ptr<QWidget> root = Load("LinktoSub_Node.ui");
    ASSERT_NE(root, nullptr);
    const ObjectRow rows[] = {
        {"horizontalLayout", "QHBoxLayout"},
        {"gridLayout", "QGridLayout"},
        {"horizontalLayout_2", "QHBoxLayout"},
        {"horizontalLayout_3", "QHBoxLayout"},
        {"horizontalLayout_4", "QHBoxLayout"},
        {"verticalLayout_2", "QVBoxLayout"},
        {"verticalLayout", "QVBoxLayout"},
        {"groupBox_51", "QGroupBox"},
        {"label", "QLabel"},
        {"label2", "QLabel"},
        {"qtObjectTreeSearchLineEdit", "QLineEdit"},
        {"qtCancelPushButton", "QPushButton"},
        {"qtOKPushButton", "QPushButton"},
        {"qtAlignPos", "QRadioButton"},
        {"qtAlignPosRot", "QRadioButton"},
        {"qtNoAlign", "QRadioButton"},
        {"qtObjectTreeToolButton", "QToolButton"},
        {"qtObjectTreeWidget", "QTreeWidget"},
        {"LinktoSub_Node", "QWidget"},
        {"TreeBorderWidget", "QWidget"},
        {"widget", "QWidget"},
        {"qtHierarchyAction", "QAction"},
        {"qtListAction", "QAction"},
        {"qtExpandAction", "QAction"},
        {"qtCollapseAction", "QAction"},
    };
    ExpectObjects(root.get(), rows);

    auto* grid = root->findChild<QGridLayout*>(QStringLiteral("gridLayout"));
    ASSERT_GT(grid->count(), 4);
    EXPECT_NE(grid->itemAt(4)->spacerItem(), nullptr);

    auto radio = [&](const char* name) {
        return root->findChild<QRadioButton*>(QLatin1String(name));
    };
    for (const char* name : {"qtNoAlign", "qtAlignPos", "qtAlignPosRot"}) {
        EXPECT_TRUE(radio(name)->isCheckable()) << name;
        EXPECT_TRUE(radio(name)->autoExclusive()) << name;
    }
    EXPECT_TRUE(radio("qtNoAlign")->isChecked());
    radio("qtAlignPosRot")->click();
    EXPECT_FALSE(radio("qtNoAlign")->isChecked());
    radio("qtAlignPos")->click();
    EXPECT_FALSE(radio("qtAlignPosRot")->isChecked());
    EXPECT_TRUE(radio("qtAlignPos")->isChecked());

    for (const char* name :
         {"qtHierarchyAction", "qtListAction", "qtExpandAction", "qtCollapseAction"})
        EXPECT_TRUE(root->findChild<QAction*>(QLatin1String(name))->isCheckable()) << name;
}

TEST_F(LayoutResource, IconsAreValidDrawings)
{
    QStringList icons;
    for (const QString& name : QDir(QStringLiteral(":/plugin/KVLinkageSection/icons")).entryList())
        icons << QStringLiteral(":/plugin/KVLinkageSection/icons/") + name;
    icons << QStringLiteral(":/KVNodeStructureDlg/icon/SpringBoneTagIcon.svg");
    ASSERT_GE(icons.size(), 6);
    for (const QString& icon : icons) {
        QSvgRenderer renderer(icon);
        EXPECT_TRUE(renderer.isValid()) << icon.toStdString();
        EXPECT_FALSE(renderer.viewBoxF().isEmpty()) << icon.toStdString();
    }
}

TEST_F(LayoutResource, ActionsComponentBindsInItsOrderAndReportsWhatIsMissing)
{
    // Before the builder is ready every lookup fails, in binding order.
    KV::CWidgetBuilder notReady;
    CLinkageActionUiComponent unbound;
    unbound.BindWidgets(&notReady);
    EXPECT_EQ(notReady.GetMissingNames(), BindingOrder(kActionObjects));
    EXPECT_EQ(unbound.GetRootWidget(), nullptr);

    // A layout without one command binds everything else and reports that one.
    std::unique_ptr<QWidget> root = Load("Linkage_Action.ui");
    ASSERT_NE(root, nullptr);
    root->findChild<QAction*>(QStringLiteral("qtCUnlinkAction"))
        ->setObjectName(QStringLiteral("renamed"));
    KV::CWidgetBuilder builder;
    builder.SetRoots(root.get(), nullptr);
    builder.SetReady(true);
    CLinkageActionUiComponent ui;
    ui.BindWidgets(&builder);
    EXPECT_EQ(builder.GetMissingNames(), QVector<QString>{QStringLiteral("qtCUnlinkAction")});
    EXPECT_EQ(ui.qtCUnlinkAction, nullptr);
    EXPECT_EQ(ui.GetRootWidget(), root.get());
    EXPECT_EQ(ui.qtLinkageSectionHotkey->objectName(), QStringLiteral("qtLinkageSectionHotkey"));
    EXPECT_EQ(ui.qtLinkMenu->objectName(), QStringLiteral("qtLinkMenu"));
}

TEST(SectionComponent, BindsItsFifteenObjectsInOrder)
{
    KV::CWidgetBuilder notReady; // every lookup fails and is recorded
    CLinkageUiComponent ui;
    ui.BindWidgets(&notReady);

    EXPECT_EQ(notReady.GetMissingNames(), BindingOrder(kSectionObjects));
    EXPECT_EQ(ui.GetRootWidget(), nullptr);
}

} // namespace
