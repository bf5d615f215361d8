#pragma once

#include "section/CLinkageSection.h"
#include "support/ResourceSuite.h"
#include "support/SceneHostTest.h"

/// A Linkage section under a host window, with the scene model as its host and the plug-in's
/// built resource file registered.
class LinkageSectionTest : public ResourceSuite<&PluginResourceFile, SceneHostTest>
{
protected:
    void SetUp() override;

    UB::Result Initialize();

    template<typename T>
    T* Widget(const char* name)
    {
        return section->findChild<T*>(QLatin1String(name));
    }

    /// Shows the section as the host's Modify panel would.
    void ShowInHostWindow();

    KV::CLinkageSection* section = nullptr;
};
