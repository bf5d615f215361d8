#pragma once

#include "sdk/CUiComponent.h"

class QAction;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpacerItem;
class QToolButton;
class QTreeWidget;
class QVBoxLayout;
class QWidget;

/// The objects of the link-to-sub-node dialog's layout
/// ":/plugin/KVLinkageSection/LinktoSub_Node.ui". All pointers stay null until bound.
class CLinktoSub_NodeUiComponent : public CUiComponent
{
public:
    CLinktoSub_NodeUiComponent();
    ~CLinktoSub_NodeUiComponent() override;

    /// Binds the twenty-five named objects, then the spacer at item 4 of "gridLayout".
    void BindWidgets(KV::CWidgetBuilder* builder) override;
    QWidget* GetRootWidget() override;

    QGroupBox* groupBox_51;
    QLabel* label;
    QLabel* label2;
    /// Search text for the tree.
    QLineEdit* qtObjectTreeSearchLineEdit;
    QPushButton* qtCancelPushButton;
    QPushButton* qtOKPushButton;
    /// The three alignment choices; checkable and exclusive in the layout.
    QRadioButton* qtAlignPos;
    QRadioButton* qtAlignPosRot;
    QRadioButton* qtNoAlign;
    /// Opens the view menu.
    QToolButton* qtObjectTreeToolButton;
    QTreeWidget* qtObjectTreeWidget;
    QWidget* LinktoSub_Node;
    QWidget* TreeBorderWidget;
    QWidget* widget;
    QHBoxLayout* horizontalLayout;
    QGridLayout* gridLayout;
    QHBoxLayout* horizontalLayout_2;
    QHBoxLayout* horizontalLayout_3;
    QHBoxLayout* horizontalLayout_4;
    QVBoxLayout* verticalLayout_2;
    QVBoxLayout* verticalLayout;
    /// The view menu's entries; checkable in the layout.
    QAction* qtHierarchyAction;
    QAction* qtListAction;
    QAction* qtExpandAction;
    QAction* qtCollapseAction;
    /// The spacer beside the alignment choices; it has no name to be found by.
    QSpacerItem* horizontalSpacer;
};
