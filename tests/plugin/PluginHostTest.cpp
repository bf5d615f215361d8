#include "PluginHostTest.h"

#include <QAction>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

void PluginHostTest::SetUp()
{
    SceneHostTest::SetUp();
    plugin = new KV::CLinkagePlugin();
}

void PluginHostTest::TearDown()
{
    // The scene's event sender goes first, then the plug-in object, as when the host closes.
    SceneHostTest::TearDown();
    delete plugin.data();
}

UB::Result PluginHostTest::InitializeFrom(const QString& pluginFolder)
{
    const UB::Result result =
        plugin->Initialize(pluginFolder, QStringLiteral("sandbox-theme"), scene.get());
    if (QToolBar* toolBar = GeneralToolBar())
        layoutWindow = toolBar->window();
    QList<KV::CSectionInterface*> sections;
    plugin->GetSectionList(sections);
    section = dynamic_cast<KV::CLinkageSection*>(sections.value(0));
    return result;
}

QToolBar* PluginHostTest::GeneralToolBar()
{
    QList<QToolBar*> toolBars;
    plugin->GetToolBarsList(toolBars);
    return toolBars.value(0);
}

QToolButton* PluginHostTest::LinkToolButton()
{
    QToolBar* toolBar = GeneralToolBar();
    return toolBar ? toolBar->findChild<QToolButton*>(QStringLiteral("qtLinkMenuAction")) : nullptr;
}

void PluginHostTest::ShowInHostWindow()
{
    window.addToolBar(GeneralToolBar());
    window.setCentralWidget(section);
    window.resize(640, 480);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
}

QString PluginHostTest::Commands()
{
    const auto on = [](bool value) {
        return value ? QLatin1Char('+') : QLatin1Char('-');
    };
    return QStringLiteral("button%1 link%2 unlink%3 | linkTo%4 camera%5 unlink%6")
        .arg(on(LinkToolButton()->isEnabled()))
        .arg(on(Find<QAction>("qtLinkAction")->isEnabled()))
        .arg(on(Find<QAction>("qtUnlinkAction")->isEnabled()))
        .arg(on(Find<QAction>("qtCLinkToAction")->isVisible()))
        .arg(on(Find<QAction>("qtCLinkToCameraAction")->isVisible()))
        .arg(on(Find<QAction>("qtCUnlinkAction")->isVisible()));
}

QString PluginHostTest::SectionState()
{
    auto* body = Find<QGroupBox>("qtSectionGroupBox");
    const auto on = [body](QWidget* widget) {
        return widget->isEnabledTo(body) ? QLatin1Char('+') : QLatin1Char('-');
    };
    auto* text = Find<QLineEdit>("qtLinkNodeText");
    auto* camera = Find<QPushButton>("qtLinkCameraPushButton");
    return QStringLiteral("%1 body%2 | '%3'%4 pick%5 unlink%6 camera:%7%8 subNode%9")
        .arg(section->isHidden() ? QStringLiteral("hidden") : QStringLiteral("shown"))
        .arg(body->isEnabled() ? QLatin1Char('+') : QLatin1Char('-'))
        .arg(text->text())
        .arg(on(text))
        .arg(on(Find<QPushButton>("qtPickParent")))
        .arg(on(Find<QPushButton>("qtUnlink")))
        .arg(camera->isHidden() ? QStringLiteral("hidden") : QStringLiteral("shown"))
        .arg(on(camera))
        .arg(on(Find<QToolButton>("qtLinkSubNode")));
}
