// Every way a user gives a Link command, in the tool bar, the menus or the context menu, reaches
// the section's operation for it, and only once.

#include "PluginHostTest.h"
#include "support/Journal.h"
#include "support/QtPrinters.h"

#include <QAction>
#include <QMenu>
#include <QTest>
#include <QToolButton>

#include <functional>

namespace {

using LinkCommands = PluginHostTest;

// What reached the host of the three section operations behind the commands.
QStringList Operations(const KV::CSceneModel& scene)
{
    return JournalCalls(scene, {QStringLiteral("SetPickMode"), QStringLiteral("UnlinkObject"),
                                QStringLiteral("LinkObjects")});
}

TEST_F(LinkCommands, EachCommandReachesItsSectionOperationOnce)
{
    ASSERT_EQ(InitializeFromPluginFolder(), UB::kOk);
    ShowInHostWindow();
    UB::CHandle* table = AddObject(QStringLiteral("Table"), 1);
    scene->SetCurrentCamera(AddObject(QStringLiteral("Shot Camera"), 3));
    QToolButton* button = LinkToolButton();
    ASSERT_NE(button, nullptr);
    const auto clickMainPart = [button] {
        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(4, button->height() / 2));
    };
    const auto chooseFromDropDown = [this, button](const char* name) {
        return [this, button, name] {
            QMenu* menu = button->menu();
            menu->popup(button->mapToGlobal(QPoint(0, button->height())));
            ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
            QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier,
                              menu->actionGeometry(LayoutAction(QLatin1String(name))).center());
            EXPECT_FALSE(menu->isVisible());
        };
    };
    const auto trigger = [this](const char* name) {
        return [this, name] {
            LayoutAction(QLatin1String(name))->trigger();
        };
    };

    clickMainPart();
    EXPECT_TRUE(Operations(*scene).isEmpty()) << "the disabled button linked";

    struct Case
    {
        const char* command;
        std::function<void()> give;
        const char* operation;
    };
    const Case cases[] = {
        {"split button", clickMainPart, "SetPickMode"},
        {"split button > Link", chooseFromDropDown("qtLinkAction"), "SetPickMode"},
        {"split button > Unlink", chooseFromDropDown("qtUnlinkAction"), "UnlinkObject"},
        {"Link", trigger("qtLinkAction"), "SetPickMode"},
        {"Unlink", trigger("qtUnlinkAction"), "UnlinkObject"},
        {"context Link To", trigger("qtCLinkToAction"), "SetPickMode"},
        {"context Unlink", trigger("qtCUnlinkAction"), "UnlinkObject"},
        {"context Link To Camera", trigger("qtCLinkToCameraAction"), "LinkObjects"},
    };
    int count = 0;
    for (const Case& c : cases) {
        // A new linked prop each time offers every command; selecting it also ends picking.
        UB::CHandle* prop = AddObject(QStringLiteral("Prop%1").arg(++count), 41);
        scene->SetLinkKey(prop, 0, table);
        scene->SetSelection({prop});
        ASSERT_EQ(Commands(), QStringLiteral("button+ link+ unlink+ | linkTo+ camera+ unlink+"));

        scene->ClearJournal();
        c.give();
        EXPECT_EQ(Operations(*scene), QStringList{QLatin1String(c.operation)}) << c.command;
    }
}

} // namespace
