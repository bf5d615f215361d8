#pragma once

#include "KVSceneModel.h"
#include "section/CLinkageSection.h"

#include <gtest/gtest.h>

#include <QMainWindow>

#include <memory>

/// A Linkage section under a host window, with the scene model as its host and the plug-in's
/// built resource file registered.
class LinkageSectionTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    UB::Result Initialize();

    template<typename T>
    T* Widget(const char* name)
    {
        return section->findChild<T*>(QLatin1String(name));
    }

    /// Adds a top-level object, linked to `linkParent` from time 0 when one is given.
    UB::CHandle* AddObject(const QString& name, int type, UB::CHandle* linkParent = nullptr);
    /// Shows the section as the host's Modify panel would.
    void ShowInHostWindow();

    QMainWindow window;
    std::unique_ptr<KV::CSceneModel> scene;
    KV::CLinkageSection* section = nullptr;
};
