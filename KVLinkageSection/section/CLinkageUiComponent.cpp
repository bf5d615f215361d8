#include "section/CLinkageUiComponent.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

CLinkageUiComponent::CLinkageUiComponent()
    : qtSectionGroupBox(nullptr)
    , label_512(nullptr)
    , qtLinkNodeText(nullptr)
    , qtExpandPushButton(nullptr)
    , qtLinkCameraPushButton(nullptr)
    , qtPickParent(nullptr)
    , qtUnlink(nullptr)
    , qtLinkSubNode(nullptr)
    , Linkage(nullptr)
    , horizontalLayout_206(nullptr)
    , horizontalLayout_205(nullptr)
    , gridLayout(nullptr)
    , verticalLayout_146(nullptr)
    , verticalLayout(nullptr)
    , qtEscHotkey(nullptr)
{}

CLinkageUiComponent::~CLinkageUiComponent() = default;

void CLinkageUiComponent::BindWidgets(KV::CWidgetBuilder* builder)
{
    horizontalLayout_206 = FindWidget<QHBoxLayout>(builder, QStringLiteral("horizontalLayout_206"));
    horizontalLayout_205 = FindWidget<QHBoxLayout>(builder, QStringLiteral("horizontalLayout_205"));
    gridLayout = FindWidget<QGridLayout>(builder, QStringLiteral("gridLayout"));
    verticalLayout_146 = FindWidget<QVBoxLayout>(builder, QStringLiteral("verticalLayout_146"));
    verticalLayout = FindWidget<QVBoxLayout>(builder, QStringLiteral("verticalLayout"));
    qtSectionGroupBox = FindWidget<QGroupBox>(builder, QStringLiteral("qtSectionGroupBox"));
    label_512 = FindWidget<QLabel>(builder, QStringLiteral("label_512"));
    qtLinkNodeText = FindWidget<QLineEdit>(builder, QStringLiteral("qtLinkNodeText"));
    qtExpandPushButton = FindWidget<QPushButton>(builder, QStringLiteral("qtExpandPushButton"));
    qtLinkCameraPushButton =
        FindWidget<QPushButton>(builder, QStringLiteral("qtLinkCameraPushButton"));
    qtPickParent = FindWidget<QPushButton>(builder, QStringLiteral("qtPickParent"));
    qtUnlink = FindWidget<QPushButton>(builder, QStringLiteral("qtUnlink"));
    qtLinkSubNode = FindWidget<QToolButton>(builder, QStringLiteral("qtLinkSubNode"));
    Linkage = FindWidget<QWidget>(builder, QStringLiteral("Linkage"));
    qtEscHotkey = FindWidget<QAction>(builder, QStringLiteral("qtEscHotkey"));
}

QWidget* CLinkageUiComponent::GetRootWidget()
{
    return Linkage;
}
