// Start-up that cannot finish: each failure ends Initialize with its code, leaves what already
// ran in place, and never crashes. The broken plug-in folders are built from tests/plugin/data.

#include "PluginHostTest.h"
#include "support/QtPrinters.h"

#include "host/KVWidgetBuilder.h"

#include <QDir>
#include <QTemporaryDir>
#include <QToolBar>

namespace {

QString BrokenPluginFolder(const char* name)
{
    return QDir(QStringLiteral(KV_BROKEN_PLUGIN_DIRS)).filePath(QLatin1String(name));
}

using PluginStartupFailure = PluginHostTest;

TEST_F(PluginStartupFailure, MissingResourceFileEndsStartUpBeforeAnyHostCall)
{
    QTemporaryDir emptyFolder;
    ASSERT_TRUE(emptyFolder.isValid());

    EXPECT_EQ(InitializeFrom(emptyFolder.path()), KV::CAbstractPlugin::kResourceNotLoaded);

    EXPECT_TRUE(scene->Journal().isEmpty()) << scene->JournalLines().join('\n').toStdString();
    QList<QToolBar*> toolBars;
    plugin->GetToolBarsList(toolBars);
    EXPECT_TRUE(toolBars.isEmpty());
    QList<KV::CSectionInterface*> sections;
    EXPECT_EQ(plugin->GetSectionList(sections), UB::kOk);
    EXPECT_EQ(sections, QList<KV::CSectionInterface*>{nullptr});
}

TEST_F(PluginStartupFailure, ActionsLayoutThatDoesNotLoadEndsStartUpWithTheBuildersCode)
{
    EXPECT_EQ(InitializeFrom(BrokenPluginFolder("unloadable-actions")),
              KV::CWidgetBuilder::kLayoutNotLoaded);

    EXPECT_TRUE(scene->HotKeyCategories().isEmpty());
    QList<KV::CSectionInterface*> sections;
    plugin->GetSectionList(sections);
    EXPECT_EQ(sections, QList<KV::CSectionInterface*>{nullptr});
}

TEST_F(PluginStartupFailure, ActionsLayoutLackingACommandIsRefusedWithoutTouchingTheHost)
{
    EXPECT_EQ(InitializeFrom(BrokenPluginFolder("incomplete-actions")), UB::kNotCreated);

    EXPECT_TRUE(scene->Journal().isEmpty()) << scene->JournalLines().join('\n').toStdString();
    QList<KV::CSectionInterface*> sections;
    plugin->GetSectionList(sections);
    EXPECT_EQ(sections, QList<KV::CSectionInterface*>{nullptr});
}

TEST_F(PluginStartupFailure, SectionLayoutThatDoesNotLoadFailsStartUpAfterTheToolBarIsBuilt)
{
    EXPECT_EQ(InitializeFrom(BrokenPluginFolder("unloadable-section")),
              KV::CWidgetBuilder::kLayoutNotLoaded);

    // The steps before the section stay done: the category and the split button.
    ASSERT_EQ(scene->HotKeyCategories().size(), 1);
    EXPECT_EQ(scene->HotKeyCategories()[0].owner, QStringLiteral("KVLinkagePlugin"));
    EXPECT_TRUE(scene->HotKeyCategories()[0].actions.isEmpty());
    EXPECT_NE(LinkToolButton(), nullptr);

    // Nothing listens to the host: a new selection makes no call.
    scene->ClearJournal();
    SelectNewObject(QStringLiteral("Box"), 1);
    EXPECT_TRUE(scene->JournalLines({QStringLiteral("GetSelectedObjects")}).isEmpty());
}

TEST_F(PluginStartupFailure, NoHostInterfaceGivesTheNoHostCode)
{
    EXPECT_EQ(plugin->Initialize(QStringLiteral(KV_PLUGIN_DIR), QString(), nullptr), UB::kNoHost);

    QList<KV::CSectionInterface*> sections;
    EXPECT_EQ(plugin->GetSectionList(sections), UB::kOk);
    EXPECT_EQ(sections, QList<KV::CSectionInterface*>{nullptr});
    QList<QToolBar*> toolBars;
    plugin->GetToolBarsList(toolBars);
    EXPECT_TRUE(toolBars.isEmpty());
}

} // namespace
