#include "nodetree/CLinktoSub_NodeUiComponent.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpacerItem>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

/// The layout item of "gridLayout" that holds the spacer beside the alignment choices.
constexpr int kGridSpacerIndex = 4;

} // namespace

CLinktoSub_NodeUiComponent::CLinktoSub_NodeUiComponent()
    : groupBox_51(nullptr)
    , label(nullptr)
    , label2(nullptr)
    , qtObjectTreeSearchLineEdit(nullptr)
    , qtCancelPushButton(nullptr)
    , qtOKPushButton(nullptr)
    , qtAlignPos(nullptr)
    , qtAlignPosRot(nullptr)
    , qtNoAlign(nullptr)
    , qtObjectTreeToolButton(nullptr)
    , qtObjectTreeWidget(nullptr)
    , LinktoSub_Node(nullptr)
    , TreeBorderWidget(nullptr)
    , widget(nullptr)
    , horizontalLayout(nullptr)
    , gridLayout(nullptr)
    , horizontalLayout_2(nullptr)
    , horizontalLayout_3(nullptr)
    , horizontalLayout_4(nullptr)
    , verticalLayout_2(nullptr)
    , verticalLayout(nullptr)
    , qtHierarchyAction(nullptr)
    , qtListAction(nullptr)
    , qtExpandAction(nullptr)
    , qtCollapseAction(nullptr)
    , horizontalSpacer(nullptr)
{}

CLinktoSub_NodeUiComponent::~CLinktoSub_NodeUiComponent() = default;

void CLinktoSub_NodeUiComponent::BindWidgets(KV::CWidgetBuilder* builder)
{
    horizontalLayout = FindWidget<QHBoxLayout>(builder, QStringLiteral("horizontalLayout"));
    gridLayout = FindWidget<QGridLayout>(builder, QStringLiteral("gridLayout"));
    horizontalLayout_2 = FindWidget<QHBoxLayout>(builder, QStringLiteral("horizontalLayout_2"));
    horizontalLayout_3 = FindWidget<QHBoxLayout>(builder, QStringLiteral("horizontalLayout_3"));
    horizontalLayout_4 = FindWidget<QHBoxLayout>(builder, QStringLiteral("horizontalLayout_4"));
    verticalLayout_2 = FindWidget<QVBoxLayout>(builder, QStringLiteral("verticalLayout_2"));
    verticalLayout = FindWidget<QVBoxLayout>(builder, QStringLiteral("verticalLayout"));
    groupBox_51 = FindWidget<QGroupBox>(builder, QStringLiteral("groupBox_51"));
    label = FindWidget<QLabel>(builder, QStringLiteral("label"));
    label2 = FindWidget<QLabel>(builder, QStringLiteral("label2"));
    qtObjectTreeSearchLineEdit =
        FindWidget<QLineEdit>(builder, QStringLiteral("qtObjectTreeSearchLineEdit"));
    qtCancelPushButton = FindWidget<QPushButton>(builder, QStringLiteral("qtCancelPushButton"));
    qtOKPushButton = FindWidget<QPushButton>(builder, QStringLiteral("qtOKPushButton"));
    qtAlignPos = FindWidget<QRadioButton>(builder, QStringLiteral("qtAlignPos"));
    qtAlignPosRot = FindWidget<QRadioButton>(builder, QStringLiteral("qtAlignPosRot"));
    qtNoAlign = FindWidget<QRadioButton>(builder, QStringLiteral("qtNoAlign"));
    qtObjectTreeToolButton =
        FindWidget<QToolButton>(builder, QStringLiteral("qtObjectTreeToolButton"));
    qtObjectTreeWidget = FindWidget<QTreeWidget>(builder, QStringLiteral("qtObjectTreeWidget"));
    LinktoSub_Node = FindWidget<QWidget>(builder, QStringLiteral("LinktoSub_Node"));
    TreeBorderWidget = FindWidget<QWidget>(builder, QStringLiteral("TreeBorderWidget"));
    widget = FindWidget<QWidget>(builder, QStringLiteral("widget"));
    qtHierarchyAction = FindWidget<QAction>(builder, QStringLiteral("qtHierarchyAction"));
    qtListAction = FindWidget<QAction>(builder, QStringLiteral("qtListAction"));
    qtExpandAction = FindWidget<QAction>(builder, QStringLiteral("qtExpandAction"));
    qtCollapseAction = FindWidget<QAction>(builder, QStringLiteral("qtCollapseAction"));

    // A spacer is no object and has no name: it is taken by its place in the grid.
    QLayoutItem* spacerItem = gridLayout != nullptr && gridLayout->count() > kGridSpacerIndex
                                  ? gridLayout->itemAt(kGridSpacerIndex)
                                  : nullptr;
    horizontalSpacer = spacerItem != nullptr ? spacerItem->spacerItem() : nullptr;
}

QWidget* CLinktoSub_NodeUiComponent::GetRootWidget()
{
    return LinktoSub_Node;
}
