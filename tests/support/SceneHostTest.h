#pragma once

#include "KVSceneModel.h"

#include <gtest/gtest.h>

#include <QMainWindow>
#include <QString>

#include <memory>

/// A test with the scene model as the host and a main window for what the plug-in puts there.
/// The scene goes before the window, as when the host closes: its event sender must not
/// outlive what the window holds.
class SceneHostTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    /// Adds a top-level object of that type, linked to `linkParent` from time 0 when one is
    /// given.
    UB::CHandle* AddObject(const QString& name, int type, UB::CHandle* linkParent = nullptr);

    QMainWindow window;
    std::unique_ptr<KV::CSceneModel> scene;
};
