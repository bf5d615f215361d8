#pragma once

#include "TestNodeUiComponent.h"

#include "nodetree/CNodeStructureDlg.h"

#include <functional>

/// The smallest concrete node-structure dialog: a search field, the tree and OK/Cancel. Its
/// search handler does what a node-picking dialog's does: apply the search and mark Enter as
/// pending.
class CTestNodeDialog : public KV::CNodeStructureDlg
{
public:
    explicit CTestNodeDialog(QWidget* parent = nullptr);

    /// Builds data/TestNodeStructure.ui (or `uiPath`) and connects the search field.
    UB::Result Initialize(KV::CKorvelInterface* host, const QString& uiPath = DefaultUiPath());
    static QString DefaultUiPath();

    QTreeWidget* GetTreeWidget() override { return m_ui.qtTree; }
    QAbstractButton* GetCancelButton() override;
    QAbstractButton* GetOkButton() override;

    /// Lists `node` once more, childless, just before its regular item.
    void ListTwice(UB::CHandle* node) { m_listTwice = node; }
    QTreeWidgetItem* AddNodeItem(UB::CHandle* node, QTreeWidget* tree, QTreeWidgetItem* parentItem,
                                 bool flag) override;

    void OnSearchTextChanged(const QString& text);

    CTestNodeUiComponent m_ui;
    /// The hits of the last search.
    QList<QTreeWidgetItem*> m_lastFound;
    /// Runs before each node is listed.
    std::function<void(UB::CHandle*)> m_beforeAddNode;

private:
    UB::CHandle* m_listTwice = nullptr;
};
