// Motion-capture skeletons: every joint of the file, read from its own text, is a bone under
// its parent at its offset, named exactly as in the file.

#include "ImportTestSupport.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

namespace KV::test {

namespace {

struct CJoint
{
    QString name;
    QString parent; // empty for the root
    float offset[3] = {0, 0, 0};
};

/// The joints of a BVH file's HIERARCHY in the file's order. An end site has no name in the
/// file; the importer calls it after its joint, and so does this.
QVector<CJoint> ReadJoints(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    const QString text = QString::fromUtf8(file.readAll());
    const QStringList words =
        text.left(text.indexOf(QLatin1String("MOTION")))
            .split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    QVector<CJoint> joints;
    QStringList open; // the joints whose braces enclose the current word
    QString pending;
    for (int i = 0; i < words.size(); ++i) {
        if (words[i] == QLatin1String("ROOT") || words[i] == QLatin1String("JOINT")) {
            pending = words.value(++i);
        } else if (words[i] == QLatin1String("End")) {
            pending = QStringLiteral("EndSite_") + open.last();
            ++i; // "Site"
        } else if (words[i] == QLatin1String("{")) {
            joints.append({pending, open.isEmpty() ? QString() : open.last(), {}});
            open << pending;
        } else if (words[i] == QLatin1String("}")) {
            open.removeLast();
        } else if (words[i] == QLatin1String("OFFSET")) {
            for (float& axis : joints.last().offset)
                axis = words.value(++i).toFloat();
        }
    }
    return joints;
}

} // namespace

TEST(BvhImportTest, EveryJointOfTheFileIsABoneUnderItsParentAtItsOffsetInCentimetres)
{
    // twins.bvh, written for this test, has a hip, a spine in Chinese and two hands of one name.
    for (const QString& path :
         {Model("BVH/01_01.bvh"), Model("BVH/01_03.bvh"), Model("BVH/Boxing_Toes.bvh"),
          QStringLiteral(KV_TEST_DATA_DIR "/twins.bvh")}) {
        SCOPED_TRACE(path.toStdString());
        const QVector<CJoint> joints = ReadJoints(path);
        const QVector<CNewNode> nodes = ImportOrFail(path);
        // One character named after the file holds the skeleton, joint for joint in file order.
        ASSERT_EQ(nodes.size(), joints.size() + 1);
        EXPECT_EQ(nodes[0].desc.name, QFileInfo(path).completeBaseName());
        EXPECT_EQ(nodes[0].desc.objectType, 45);
        for (int i = 0; i < joints.size(); ++i) {
            const CNewNode& node = nodes[i + 1];
            SCOPED_TRACE(joints[i].name.toStdString());
            EXPECT_EQ(node.desc.name, joints[i].name);
            EXPECT_EQ(nodes[node.parent].desc.name,
                      joints[i].parent.isEmpty() ? nodes[0].desc.name : joints[i].parent);
            EXPECT_EQ(node.desc.objectType, 1);
            EXPECT_EQ(node.desc.nodeKind, 2);
            for (int axis = 0; axis < 3; ++axis)
                EXPECT_NEAR(node.rest.position[axis], joints[i].offset[axis], 1e-3f) << axis;
        }
    }
}

} // namespace KV::test
