#include "ImportTestSupport.h"

#include "CAssimpImporter.h"
#include "TransformMath.h"

#include <QFileInfo>

namespace KV::test {

QString Model(const QString& relativePath)
{
    const QString path = QStringLiteral(KV_ASSIMP_MODELS "/") + relativePath;
    EXPECT_TRUE(QFileInfo::exists(path))
        << path.toStdString() << " is missing: scripts/setup installs assimp-testmodels";
    return path;
}

QVector<CNewNode> ImportOrFail(const QString& path)
{
    QVector<CNewNode> nodes;
    QString error;
    EXPECT_TRUE(CAssimpImporter::Import(path, nodes, error)) << error.toStdString();
    return nodes;
}

const CNewNode* Find(const QVector<CNewNode>& nodes, const QString& name)
{
    for (const CNewNode& node : nodes) {
        if (node.desc.name == name)
            return &node;
    }
    return nullptr;
}

::testing::AssertionResult FormsOneObject(const QVector<CNewNode>& nodes)
{
    if (nodes.isEmpty() || nodes.first().parent != -1)
        return ::testing::AssertionFailure() << "the first entry is not an object";
    for (int i = 1; i < nodes.size(); ++i) {
        const CNewNode& node = nodes[i];
        if (node.parent < 0 || node.parent >= i)
            return ::testing::AssertionFailure()
                   << "entry " << i << " (" << node.desc.name.toStdString() << ") has parent "
                   << node.parent;
        if (!TransformMath::IsUsable(node.rest))
            return ::testing::AssertionFailure()
                   << node.desc.name.toStdString() << " has an unusable rest transform";
    }
    return ::testing::AssertionSuccess();
}

} // namespace KV::test
