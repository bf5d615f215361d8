#pragma once

#include "sdk/CUiComponent.h"

class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;
class QStatusBar;
class QToolBar;
class QWidget;

/// The objects of the actions layout ":/plugin/KVLinkageSection/Linkage_Action.ui": the Link
/// commands for the host's menus, context menu and general tool bar. Pointers are declared in
/// binding order and stay null until bound.
class CLinkageActionUiComponent : public CUiComponent
{
public:
    CLinkageActionUiComponent();
    ~CLinkageActionUiComponent() override;

    void BindWidgets(KV::CWidgetBuilder* builder) override;
    QWidget* GetRootWidget() override;

    QMainWindow* LinkageAction;
    QMenu* qtCLinkMenu;
    QMenu* qtContextMenu;
    QMenu* qtEditMenu;
    QMenu* qtLinkMenu;
    QMenuBar* menubar;
    QStatusBar* statusbar;
    QToolBar* qtGeneralToolBar;
    QWidget* centralwidget;
    QAction* qtLinkAction;
    QAction* qtUnlinkAction;
    QAction* qtCLinkToAction;
    QAction* qtCLinkToCameraAction;
    QAction* qtCUnlinkAction;
    /// Tool bar placeholder that the split link button replaces at start-up.
    QAction* qtLinkMenuAction;
    /// Hot-key-only action that brings the Linkage section into view.
    QAction* qtLinkageSectionHotkey;
};
