#pragma once

#include "nodetree/CNodeTreeWidgetTool.h"

#include <QTreeWidget>

/// The node tree tool on a bare tree widget of its own, as a dialog would hold it.
class CBenchTreeTool : public KV::CNodeTreeWidgetTool
{
public:
    // The tree goes before the tool's own clean-up could reach it.
    ~CBenchTreeTool() { ClearTree(); }
    QTreeWidget* GetTreeWidget() override { return &m_tree; }

    QTreeWidget m_tree;
};
