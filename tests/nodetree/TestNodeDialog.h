#pragma once

#include "KVSceneModel.h"
#include "nodetree/CNodeStructureDlg.h"
#include "sdk/CUiComponent.h"

#include <gtest/gtest.h>

#include <QTreeWidget>

#include <functional>

class QPushButton;

/// The widgets of data/TestNodeStructure.ui.
class CTestNodeUiComponent : public CUiComponent
{
public:
    void BindWidgets(KV::CWidgetBuilder* builder) override;
    QWidget* GetRootWidget() override { return TestNodeStructure; }

    QWidget* TestNodeStructure = nullptr;
    QTreeWidget* qtTree = nullptr;
    QPushButton* qtOk = nullptr;
    QPushButton* qtCancel = nullptr;
};

/// The smallest concrete node-structure dialog: the tree and OK/Cancel.
class CTestNodeDialog : public KV::CNodeStructureDlg
{
public:
    explicit CTestNodeDialog(QWidget* parent = nullptr);

    /// Builds data/TestNodeStructure.ui (or `uiPath`).
    UB::Result Initialize(KV::CKorvelInterface* host, const QString& uiPath = DefaultUiPath());
    static QString DefaultUiPath();

    QTreeWidget* GetTreeWidget() override { return m_ui.qtTree; }
    QAbstractButton* GetCancelButton() override;
    QAbstractButton* GetOkButton() override;

    /// Lists `node` once more, childless, just before its regular item.
    void ListTwice(UB::CHandle* node) { m_listTwice = node; }
    QTreeWidgetItem* AddNodeItem(UB::CHandle* node, QTreeWidget* tree, QTreeWidgetItem* parentItem,
                                 bool flag) override;

    CTestNodeUiComponent m_ui;
    /// Runs before each node is listed.
    std::function<void(UB::CHandle*)> m_beforeAddNode;

private:
    UB::CHandle* m_listTwice = nullptr;
};

/// A scene and a built test dialog on it; nodes and their items are looked up by name.
class NodeDialogFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(dialog.Initialize(&scene).code, 0);
        tree = dialog.GetTreeWidget();
        ASSERT_NE(tree, nullptr);
    }

    UB::CHandle* Node(const char* name) { return scene.FindByName(QString::fromUtf8(name)); }
    QTreeWidgetItem* Item(const char* name) { return dialog.m_handleToItem.Find(Node(name)); }

    KV::CSceneModel scene;
    CTestNodeDialog dialog;
    QTreeWidget* tree = nullptr;
};
