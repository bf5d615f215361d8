#include "TestNodeUiComponent.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

void CTestNodeUiComponent::BindWidgets(KV::CWidgetBuilder* builder)
{
    TestNodeStructure = FindWidget<QWidget>(builder, QStringLiteral("TestNodeStructure"));
    qtSearch = FindWidget<QLineEdit>(builder, QStringLiteral("qtSearch"));
    qtTree = FindWidget<QTreeWidget>(builder, QStringLiteral("qtTree"));
    qtOk = FindWidget<QPushButton>(builder, QStringLiteral("qtOk"));
    qtCancel = FindWidget<QPushButton>(builder, QStringLiteral("qtCancel"));
}
