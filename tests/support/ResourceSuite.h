#pragma once

#include <gtest/gtest.h>

#include <QResource>
#include <QString>

/// The built module of the plug-in and its resource file, which lies beside it.
QString PluginModuleFile();
QString PluginResourceFile();

/// A suite that builds from a resource file: the file is registered around the suite, the way
/// a plug-in's InitResource registers its own.
template<QString (*ResourceFile)(), typename Base = ::testing::Test>
class ResourceSuite : public Base
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(QResource::registerResource(ResourceFile())) << ResourceFile().toStdString();
    }
    static void TearDownTestSuite() { QResource::unregisterResource(ResourceFile()); }
};
