#pragma once

#include "TestNodeDialog.h"

#include "KVSceneModel.h"

#include <gtest/gtest.h>

#include <QTreeWidget>

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
