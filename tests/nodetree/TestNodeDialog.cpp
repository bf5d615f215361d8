#include "TestNodeDialog.h"

#include <QPushButton>

void CTestNodeUiComponent::BindWidgets(KV::CWidgetBuilder* builder)
{
    TestNodeStructure = FindWidget<QWidget>(builder, QStringLiteral("TestNodeStructure"));
    qtTree = FindWidget<QTreeWidget>(builder, QStringLiteral("qtTree"));
    qtOk = FindWidget<QPushButton>(builder, QStringLiteral("qtOk"));
    qtCancel = FindWidget<QPushButton>(builder, QStringLiteral("qtCancel"));
}

CTestNodeDialog::CTestNodeDialog(QWidget* parent)
    : KV::CNodeStructureDlg(parent)
{}

QString CTestNodeDialog::DefaultUiPath()
{
    return QStringLiteral(KV_TEST_DATA_DIR "/TestNodeStructure.ui");
}

UB::Result CTestNodeDialog::Initialize(KV::CKorvelInterface* host, const QString& uiPath)
{
    return InitDialogUi(uiPath, QStringLiteral("test-theme"),
                        QStringLiteral(KV_TEST_DATA_DIR "/TestLayout.ini"), &m_ui, host);
}

QAbstractButton* CTestNodeDialog::GetCancelButton()
{
    return m_ui.qtCancel;
}

QAbstractButton* CTestNodeDialog::GetOkButton()
{
    return m_ui.qtOk;
}

QTreeWidgetItem* CTestNodeDialog::AddNodeItem(UB::CHandle* node, QTreeWidget* tree,
                                              QTreeWidgetItem* parentItem, bool flag)
{
    if (m_beforeAddNode)
        m_beforeAddNode(node);
    if (node != nullptr && node == m_listTwice)
        CreateNodeItem(node, tree, parentItem);
    return CNodeTreeWidgetTool::AddNodeItem(node, tree, parentItem, flag);
}
