#include "PluginHostTest.h"

#include "support/ResourceSuite.h"

#include <QAction>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

void PluginHostTest::SetUp()
{
    SceneHostTest::SetUp();
    instance = CreatePluginInstance();
    ASSERT_NE(instance, nullptr);
    plugin = qobject_cast<KV::CAbstractPlugin*>(instance.data());
    ASSERT_NE(plugin, nullptr);
}

QObject* PluginHostTest::CreatePluginInstance()
{
    EXPECT_TRUE(loader.Load()) << loader.Problem().toStdString();
    return loader.Instance();
}

void PluginHostTest::TearDown()
{
    // The scene's event sender goes first, then the plug-in object, as when the host closes.
    SceneHostTest::TearDown();
    loader.Unload();
    delete instance.data();
}

QString PluginHostTest::ModulePath()
{
    return PluginModuleFile();
}

UB::Result PluginHostTest::InitializeFromPluginFolder()
{
    return InitializeFrom(QStringLiteral(KV_PLUGIN_DIR));
}

UB::Result PluginHostTest::InitializeFrom(const QString& pluginFolder)
{
    const UB::Result result =
        plugin->Initialize(pluginFolder, QStringLiteral("sandbox-theme"), scene.get());
    QList<QToolBar*> toolBars;
    plugin->GetToolBarsList(toolBars);
    if (!toolBars.isEmpty() && toolBars.first() != nullptr)
        layoutWindow = toolBars.first()->window();
    return result;
}

QToolBar* PluginHostTest::GeneralToolBar()
{
    QList<QToolBar*> toolBars;
    plugin->GetToolBarsList(toolBars);
    return toolBars.isEmpty() ? nullptr : toolBars.first();
}

QWidget* PluginHostTest::SectionWidget()
{
    QList<KV::CSectionInterface*> sections;
    plugin->GetSectionList(sections);
    return sections.size() == 1 && sections.first() != nullptr
               ? sections.first()->GetSectionWidget()
               : nullptr;
}

QAction* PluginHostTest::LayoutAction(const QString& name)
{
    return LayoutObject<QAction>(name);
}

QToolButton* PluginHostTest::LinkToolButton()
{
    QToolBar* toolBar = GeneralToolBar();
    return toolBar ? toolBar->findChild<QToolButton*>(QStringLiteral("qtLinkMenuAction")) : nullptr;
}

void PluginHostTest::ShowInHostWindow()
{
    window.addToolBar(GeneralToolBar());
    if (QWidget* section = SectionWidget())
        window.setCentralWidget(section);
    window.resize(640, 480);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
}

UB::CHandle* PluginHostTest::SelectNewObject(const QString& name, int type)
{
    UB::CHandle* object = AddObject(name, type);
    scene->SetSelection({object});
    return object;
}

QString PluginHostTest::Commands()
{
    const auto on = [](bool value) {
        return value ? QLatin1Char('+') : QLatin1Char('-');
    };
    const auto action = [this](const char* name) {
        return LayoutAction(QLatin1String(name));
    };
    return QStringLiteral("button%1 link%2 unlink%3 | linkTo%4 camera%5 unlink%6")
        .arg(on(LinkToolButton()->isEnabled()))
        .arg(on(action("qtLinkAction")->isEnabled()))
        .arg(on(action("qtUnlinkAction")->isEnabled()))
        .arg(on(action("qtCLinkToAction")->isVisible()))
        .arg(on(action("qtCLinkToCameraAction")->isVisible()))
        .arg(on(action("qtCUnlinkAction")->isVisible()));
}
