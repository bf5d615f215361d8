#pragma once

#include "sdk/CUiComponent.h"

class QAction;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QVBoxLayout;
class QWidget;

/// The objects of the Linkage section's layout ":/plugin/KVLinkageSection/Linkage.ui". All
/// pointers stay null until bound.
class CLinkageUiComponent : public CUiComponent
{
public:
    CLinkageUiComponent();
    ~CLinkageUiComponent() override;

    void BindWidgets(KV::CWidgetBuilder* builder) override;
    QWidget* GetRootWidget() override;

    /// The section's body; the section base enables, disables, shows and hides it.
    QGroupBox* qtSectionGroupBox;
    /// Renamed to "label_512NoKey" for objects that take no keys, so that the style sheet can
    /// tell the two apart.
    QLabel* label_512;
    /// The link parent's name; empty when there is none or it is not shared.
    QLineEdit* qtLinkNodeText;
    QPushButton* qtExpandPushButton;
    QPushButton* qtLinkCameraPushButton;
    QPushButton* qtPickParent;
    QPushButton* qtUnlink;
    QToolButton* qtLinkSubNode;
    QWidget* Linkage;
    QHBoxLayout* horizontalLayout_206;
    QHBoxLayout* horizontalLayout_205;
    QGridLayout* gridLayout;
    QVBoxLayout* verticalLayout_146;
    QVBoxLayout* verticalLayout;
    /// Leaves the host's pick-parent mode; enabled only while that mode is on.
    QAction* qtEscHotkey;
};
