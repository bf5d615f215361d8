#pragma once

#include "nodetree/CNodeTreeWidgetTool.h"

#include <QTreeWidget>

/// The node tree tool on a bare tree widget of its own, as a dialog would hold it.
class CBenchTreeTool : public KV::CNodeTreeWidgetTool
{
public:
    QTreeWidget* GetTreeWidget() override { return &m_tree; }

    QTreeWidget m_tree;
};
