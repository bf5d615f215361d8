#include "CSceneGenerator.h"

#include "KVSceneModel.h"

#include <QRandomGenerator>

#include <cmath>

namespace KV {

namespace {

const QVector<QString> kObjectNames = {
    QStringLiteral("Box"),     QStringLiteral("box"),    QStringLiteral("BOX"),
    QStringLiteral("Robot"),   QStringLiteral("Camera"), QStringLiteral("Light"),
    QStringLiteral("Prop"),    QStringLiteral("Ärmel"),  QStringLiteral(""),
    QStringLiteral("Locator"), QStringLiteral("Sword"),  QStringLiteral("Hero"),
    QStringLiteral("Body"),    QStringLiteral("x"),      QStringLiteral("Cup")};

const QVector<QString> kNodeNames = {
    QStringLiteral("Arm"),    QStringLiteral("arm"),       QStringLiteral("Hand"),
    QStringLiteral("Hand"),   QStringLiteral("Spine"),     QStringLiteral("Neck"),
    QStringLiteral("Head"),   QStringLiteral("Bone01"),    QStringLiteral("Bone02"),
    QStringLiteral("Root"),   QStringLiteral(""),          QStringLiteral("Skeleton"),
    QStringLiteral("Gizmos"), QStringLiteral("Grip_L"),    QStringLiteral("Body"),
    QStringLiteral("Tail"),   QStringLiteral("HandTwist"), QStringLiteral("Finger")};

const QVector<int> kLinkableTypes = {1,  2,  3,  4,  5,  7,  8,  14, 15, 18, 19,
                                     21, 23, 24, 25, 41, 41, 41, 45, 46, 54};
const QVector<int> kOtherTypes = {0, 6, 9, 55, 100};
const QVector<int> kNodeKinds = {0, 0, 0, 2, 2, 2, 1, 4, 8, 17};
const QVector<int> kNodeTypes = {1, 2, 6, 6, 6, 3};

} // namespace

CSceneGenerator::CSceneGenerator(QRandomGenerator& random)
    : m_random(random)
{}

bool CSceneGenerator::Chance(int percent)
{
    return static_cast<int>(m_random.bounded(100)) < percent;
}

template<typename T>
const T& CSceneGenerator::Pick(const QVector<T>& items)
{
    return items.at(static_cast<int>(m_random.bounded(items.size())));
}

template const QString& CSceneGenerator::Pick(const QVector<QString>&);
template const int& CSceneGenerator::Pick(const QVector<int>&);
template UB::CHandle* const& CSceneGenerator::Pick(const QVector<UB::CHandle*>&);

QString CSceneGenerator::RandomName()
{
    QString name = Pick(kObjectNames);
    if (Chance(30))
        name += QString::number(m_random.bounded(4));
    return name;
}

int CSceneGenerator::RandomObjectType()
{
    return Chance(15) ? Pick(kOtherTypes) : Pick(kLinkableTypes);
}

void CSceneGenerator::Fill(CSceneModel& scene, int maxObjects)
{
    const int count = 3 + static_cast<int>(m_random.bounded(qMax(1, maxObjects - 2)));
    QVector<UB::CHandle*> objects;
    for (int i = 0; i < count; ++i) {
        CNodeDesc desc;
        desc.name = RandomName();
        desc.objectType = RandomObjectType();
        desc.nodeKind = Chance(10) ? 1 : 0;
        desc.linkBlocked = Chance(10);
        desc.linkDisabled = Chance(8);
        desc.subNodeLinkExcluded = Chance(8);
        desc.linkable = !Chance(8);
        UB::CHandle* object = scene.AddObject(desc);
        objects.append(object);
        if (Chance(25))
            AddBody(scene, object);
        else if (Chance(45))
            AddStructure(scene, object, 0);
    }
    // An owner other than the object itself, and an owner root for kind-1 owners.
    for (UB::CHandle* object : qAsConst(objects)) {
        if (Chance(8))
            scene.SetOwner(object, Pick(objects));
        if (scene.Desc(object).nodeKind == 1 && Chance(70))
            scene.SetOwnerRoot(object, Pick(objects));
    }
    AddLinks(scene, objects);
    if (!Chance(15))
        scene.SetCurrentCamera(Pick(objects));
    if (Chance(10))
        scene.SetStandardNodeName(0, QStringLiteral("Hero"));
}

void CSceneGenerator::AddStructure(CSceneModel& scene, UB::CHandle* parent, int depth)
{
    const int children = 1 + static_cast<int>(m_random.bounded(3));
    for (int i = 0; i < children; ++i) {
        CNodeDesc desc;
        desc.name = Pick(kNodeNames);
        desc.objectType = Pick(kNodeTypes);
        desc.nodeKind = Pick(kNodeKinds);
        desc.linkable = !Chance(15);
        desc.subNodeLinkExcluded = Chance(10);
        UB::CHandle* node = scene.AddNode(parent, desc);
        if (depth < 3 && Chance(45))
            AddStructure(scene, node, depth + 1);
    }
}

void CSceneGenerator::AddBody(CSceneModel& scene, UB::CHandle* parent)
{
    // A body whose prop grips lie somewhere below it, and a lone skeleton group whose bones
    // stand in for it.
    CNodeDesc body;
    body.name = scene.Name(parent) == QLatin1String("Hero") ? QStringLiteral("Hero")
                                                            : QStringLiteral("Body");
    body.objectType = Chance(80) ? 1 + static_cast<int>(m_random.bounded(2)) : 6;
    body.nodeKind = 2;
    UB::CHandle* bodyNode = Chance(50) ? scene.AddNode(parent, body) : parent;
    if (bodyNode == parent)
        scene.Desc(parent).name = body.name;
    CNodeDesc skeleton;
    skeleton.name = QStringLiteral("Skeleton");
    skeleton.objectType = 6;
    skeleton.nodeKind = 2;
    UB::CHandle* group = scene.AddNode(bodyNode, skeleton);
    UB::CHandle* previous = group;
    for (const QString& name :
         {QStringLiteral("Hips"), QStringLiteral("Chest"), QStringLiteral("Hand")}) {
        CNodeDesc bone;
        bone.name = name;
        bone.objectType = Chance(85) ? 6 : 3;
        bone.nodeKind = 2;
        previous = scene.AddNode(previous, bone);
        for (const QString& grip : {QStringLiteral("Grip_L"), QStringLiteral("Grip_R"),
                                    QStringLiteral("Grip_Back"), QStringLiteral("Gizmos")}) {
            if (!Chance(30))
                continue;
            CNodeDesc gripDesc;
            gripDesc.name = grip;
            gripDesc.objectType = Chance(70) ? 6 : 1;
            gripDesc.nodeKind = Chance(90) ? 2 : 4;
            gripDesc.subNodeLinkExcluded = Chance(10);
            UB::CHandle* gripNode = scene.AddNode(previous, gripDesc);
            if (Chance(40))
                AddStructure(scene, gripNode, 2);
        }
    }
}

void CSceneGenerator::AddLinks(CSceneModel& scene, const QVector<UB::CHandle*>& objects)
{
    for (int i = 0; i < objects.size(); ++i) {
        UB::CHandle* object = objects.at(i);
        TransformRecord transform;
        for (float& coordinate : transform.position)
            coordinate = static_cast<float>(m_random.bounded(200) - 100) / 4.0f;
        const float angle = static_cast<float>(m_random.bounded(360)) * 3.14159265f / 180.0f;
        transform.rotation[2] = std::sin(angle / 2.0f);
        transform.rotation[3] = std::cos(angle / 2.0f);
        scene.SetTransformKey(object, 0, transform);
        if (i == 0 || !Chance(55))
            continue;
        // Only objects made earlier, and the nodes inside them, may be parents.
        const int keys = 1 + static_cast<int>(m_random.bounded(3));
        for (int k = 0; k < keys; ++k) {
            UB::CHandle* earlier = objects.at(static_cast<int>(m_random.bounded(i)));
            QVector<UB::CHandle*> candidates = {earlier};
            QVector<UB::CHandle*> pending = scene.StructuralChildren(earlier);
            while (!pending.isEmpty()) {
                UB::CHandle* node = pending.takeLast();
                candidates.append(node);
                pending += scene.StructuralChildren(node);
            }
            UB::CHandle* parent = Chance(12) ? nullptr : Pick(candidates);
            const UBTime time = k == 0 ? 0 : static_cast<UBTime>(m_random.bounded(60));
            scene.SetLinkKey(object, time, parent);
        }
    }
}

QByteArray CSceneGenerator::MakeFile(int maxObjects)
{
    CSceneModel scratch;
    Fill(scratch, maxObjects);
    QVector<UB::CHandle*> selection;
    for (UB::CHandle* object : scratch.Objects()) {
        if (Chance(25))
            selection.append(object);
    }
    scratch.SetSelection(selection);
    scratch.SetCurrentTime(static_cast<UBTime>(m_random.bounded(60)));
    return scratch.ToJson();
}

} // namespace KV
