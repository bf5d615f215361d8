#include "plugin/CLinkageActionUiComponent.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

CLinkageActionUiComponent::CLinkageActionUiComponent()
    : LinkageAction(nullptr)
    , qtCLinkMenu(nullptr)
    , qtContextMenu(nullptr)
    , qtEditMenu(nullptr)
    , qtLinkMenu(nullptr)
    , menubar(nullptr)
    , statusbar(nullptr)
    , qtGeneralToolBar(nullptr)
    , centralwidget(nullptr)
    , qtLinkAction(nullptr)
    , qtUnlinkAction(nullptr)
    , qtCLinkToAction(nullptr)
    , qtCLinkToCameraAction(nullptr)
    , qtCUnlinkAction(nullptr)
    , qtLinkMenuAction(nullptr)
    , qtLinkageSectionHotkey(nullptr)
{}

CLinkageActionUiComponent::~CLinkageActionUiComponent() = default;

void CLinkageActionUiComponent::BindWidgets(KV::CWidgetBuilder* builder)
{
    LinkageAction = FindWidget<QMainWindow>(builder, QStringLiteral("LinkageAction"));
    qtCLinkMenu = FindWidget<QMenu>(builder, QStringLiteral("qtCLinkMenu"));
    qtContextMenu = FindWidget<QMenu>(builder, QStringLiteral("qtContextMenu"));
    qtEditMenu = FindWidget<QMenu>(builder, QStringLiteral("qtEditMenu"));
    qtLinkMenu = FindWidget<QMenu>(builder, QStringLiteral("qtLinkMenu"));
    menubar = FindWidget<QMenuBar>(builder, QStringLiteral("menubar"));
    statusbar = FindWidget<QStatusBar>(builder, QStringLiteral("statusbar"));
    qtGeneralToolBar = FindWidget<QToolBar>(builder, QStringLiteral("qtGeneralToolBar"));
    centralwidget = FindWidget<QWidget>(builder, QStringLiteral("centralwidget"));
    qtLinkAction = FindWidget<QAction>(builder, QStringLiteral("qtLinkAction"));
    qtUnlinkAction = FindWidget<QAction>(builder, QStringLiteral("qtUnlinkAction"));
    qtCLinkToAction = FindWidget<QAction>(builder, QStringLiteral("qtCLinkToAction"));
    qtCLinkToCameraAction = FindWidget<QAction>(builder, QStringLiteral("qtCLinkToCameraAction"));
    qtCUnlinkAction = FindWidget<QAction>(builder, QStringLiteral("qtCUnlinkAction"));
    qtLinkMenuAction = FindWidget<QAction>(builder, QStringLiteral("qtLinkMenuAction"));
    qtLinkageSectionHotkey = FindWidget<QAction>(builder, QStringLiteral("qtLinkageSectionHotkey"));
}

QWidget* CLinkageActionUiComponent::GetRootWidget()
{
    return LinkageAction;
}
