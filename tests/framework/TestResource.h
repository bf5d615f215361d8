#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QResource>
#include <QString>

/// The compiled test resource file (data/FrameworkTest.qrc) and where it lies.
inline QString TestResourceDir()
{
    return QStringLiteral(KV_TEST_RESOURCE_DIR);
}
inline QString TestResourceFile()
{
    return QStringLiteral(KV_TEST_RESOURCE_FILE);
}

/// Base of the suites that build from the test resource file: it is registered around the
/// suite, the way a plug-in's InitResource registers its own.
class TestResourceSuite : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(QResource::registerResource(ResourcePath())); }
    static void TearDownTestSuite() { QResource::unregisterResource(ResourcePath()); }
    static QString ResourcePath() { return QDir(TestResourceDir()).filePath(TestResourceFile()); }
};
