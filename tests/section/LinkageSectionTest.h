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

    UB::CHandle* AddObject(const QString& name, int type);

    QMainWindow window;
    std::unique_ptr<KV::CSceneModel> scene;
    KV::CLinkageSection* section = nullptr;
};
