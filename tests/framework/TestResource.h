#pragma once

#include "support/ResourceSuite.h"

#include <QDir>
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
inline QString TestResourcePath()
{
    return QDir(TestResourceDir()).filePath(TestResourceFile());
}

/// Base of the suites that build from the test resource file.
using TestResourceSuite = ResourceSuite<&TestResourcePath>;
