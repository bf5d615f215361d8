// Motion-capture skeletons: every joint of the file, read from its own text, is a bone under
// its parent at its offset.

#include "ImportTestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include <cmath>

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
        const QString& word = words[i];
        if (word == QLatin1String("ROOT") || word == QLatin1String("JOINT")) {
            pending = words.value(++i);
        } else if (word == QLatin1String("End")) {
            pending = QStringLiteral("EndSite_") + open.last();
            ++i; // "Site"
        } else if (word == QLatin1String("{")) {
            joints.append({pending, open.isEmpty() ? QString() : open.last(), {}});
            open << pending;
        } else if (word == QLatin1String("}")) {
            open.removeLast();
        } else if (word == QLatin1String("OFFSET")) {
            for (int axis = 0; axis < 3; ++axis)
                joints.last().offset[axis] = words.value(++i).toFloat();
        }
    }
    return joints;
}

} // namespace

TEST(BvhImportTest, EveryJointOfTheFileIsABoneUnderItsParentAtItsOffsetInCentimetres)
{
    for (const char* file : {"BVH/01_01.bvh", "BVH/01_03.bvh", "BVH/Boxing_Toes.bvh"}) {
        SCOPED_TRACE(file);
        const QString path = Model(QLatin1String(file));
        const QVector<CJoint> joints = ReadJoints(path);
        ASSERT_GE(joints.size(), 20);
        const QVector<CNewNode> nodes = ImportOrFail(path);
        ASSERT_TRUE(FormsOneObject(nodes));

        // One character named after the file holds the skeleton, joint for joint in file order.
        EXPECT_EQ(nodes[0].desc.name, QFileInfo(path).completeBaseName());
        EXPECT_EQ(nodes[0].desc.objectType, 45);
        ASSERT_EQ(nodes.size(), joints.size() + 1);
        for (int i = 0; i < joints.size(); ++i) {
            const CJoint& joint = joints[i];
            const CNewNode& node = nodes[i + 1];
            SCOPED_TRACE(joint.name.toStdString());
            EXPECT_EQ(node.desc.name, joint.name);
            EXPECT_EQ(nodes[node.parent].desc.name,
                      joint.parent.isEmpty() ? nodes[0].desc.name : joint.parent);
            EXPECT_EQ(node.desc.objectType, 1);
            EXPECT_EQ(node.desc.nodeKind, 2);
            for (int axis = 0; axis < 3; ++axis)
                EXPECT_NEAR(node.rest.position[axis], joint.offset[axis], 1e-3f) << axis;
        }
    }
}

TEST(BvhImportTest, NamesAreKeptExactlyInAnyScriptAndTwiceWhenTheFileHasThemTwice)
{
    // Written for this test: a hip, a spine in Chinese and two hands of one name.
    const QVector<CNewNode> nodes = ImportOrFail(QStringLiteral(KV_TEST_DATA_DIR "/twins.bvh"));
    ASSERT_TRUE(FormsOneObject(nodes));
    QStringList names;
    for (const CNewNode& node : nodes)
        names << node.desc.name;
    EXPECT_EQ(names,
              (QStringList{QStringLiteral("twins"), QStringLiteral("Hüfte"), QStringLiteral("脊椎"),
                           QStringLiteral("Hand"), QStringLiteral("EndSite_Hand"),
                           QStringLiteral("Hand"), QStringLiteral("EndSite_Hand")}));
}

} // namespace KV::test
