#pragma once

// The test files of Debian's assimp-testmodels, and reading what an import gave.

#include "KVSceneModel.h"
#include "support/QtPrinters.h"

#include <QString>
#include <QVector>

#include <gtest/gtest.h>

namespace KV::test {

/// A file of assimp-testmodels, for example "BVH/01_01.bvh".
QString Model(const QString& relativePath);

/// The imported nodes of `path`, read in this process; fails the test when it cannot be read.
QVector<CNewNode> ImportOrFail(const QString& path);

/// The entry named `name` (the first of that name), or null.
const CNewNode* Find(const QVector<CNewNode>& nodes, const QString& name);

/// Every parent comes before its children, the first entry is the only object, and every rest
/// transform is one the scene can hold.
::testing::AssertionResult FormsOneObject(const QVector<CNewNode>& nodes);

} // namespace KV::test
