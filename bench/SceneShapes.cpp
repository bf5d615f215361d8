#include "SceneShapes.h"

#include "KVSceneModel.h"

#include <QVector>

#include <algorithm>
#include <array>
#include <utility>

namespace {

class CNamer
{
public:
    explicit CNamer(QString prefix)
        : m_prefix(std::move(prefix))
    {}
    KV::CNodeDesc Next()
    {
        KV::CNodeDesc desc;
        desc.name = m_prefix + QLatin1Char('_') + QString::number(m_next++);
        return desc;
    }

    /// How many names were given so far, which is how many nodes were made.
    int Count() const { return m_next; }

private:
    QString m_prefix;
    int m_next = 0;
};

UB::CHandle* AddChainBelow(KV::CSceneModel& scene, UB::CHandle* top, int links, CNamer& namer)
{
    UB::CHandle* node = top;
    for (int i = 0; i < links; ++i)
        node = scene.AddNode(node, namer.Next());
    return node;
}

} // namespace

UB::CHandle* AddBalancedTree(KV::CSceneModel& scene, int nodeCount, int branching,
                             const QString& prefix)
{
    CNamer namer(prefix);
    UB::CHandle* root = scene.AddObject(namer.Next());
    QVector<UB::CHandle*> level{root};
    int made = 1;
    while (made < nodeCount) {
        QVector<UB::CHandle*> next;
        for (UB::CHandle* parent : level) {
            for (int i = 0; i < branching && made < nodeCount; ++i, ++made)
                next.append(scene.AddNode(parent, namer.Next()));
        }
        level = next;
    }
    return root;
}

UB::CHandle* AddChain(KV::CSceneModel& scene, int depth, const QString& prefix)
{
    CNamer namer(prefix);
    UB::CHandle* root = scene.AddObject(namer.Next());
    AddChainBelow(scene, root, depth - 1, namer);
    return root;
}

UB::CHandle* AddFlatList(KV::CSceneModel& scene, int count, const QString& prefix)
{
    CNamer namer(prefix);
    UB::CHandle* root = scene.AddObject(namer.Next());
    for (int i = 0; i < count; ++i)
        scene.AddNode(root, namer.Next());
    return root;
}

namespace {

constexpr int kRigChainLength = 30;

/// The rig's body and face; returns the head, the chest and the hips, where chains hang.
std::array<UB::CHandle*, 3> AddRigBody(KV::CSceneModel& scene, UB::CHandle* root, CNamer& namer)
{
    UB::CHandle* hips = scene.AddNode(root, namer.Next());
    UB::CHandle* chest = AddChainBelow(scene, hips, 5, namer); // spine
    UB::CHandle* head = AddChainBelow(scene, chest, 3, namer); // neck and head
    for (int side = 0; side < 2; ++side) {
        UB::CHandle* hand = AddChainBelow(scene, chest, 4, namer); // clavicle to hand
        for (int finger = 0; finger < 5; ++finger)
            AddChainBelow(scene, hand, 4, namer);
        UB::CHandle* foot = AddChainBelow(scene, hips, 4, namer); // thigh to foot
        for (int toe = 0; toe < 5; ++toe)
            AddChainBelow(scene, foot, 3, namer);
    }
    for (int bone = 0; bone < 200; ++bone) // face: short chains of lips, brows, eyelids
        AddChainBelow(scene, head, 1 + bone % 3, namer);
    return {head, chest, hips};
}

} // namespace

UB::CHandle* AddRig(KV::CSceneModel& scene, int chains, int chainLength, const QString& prefix)
{
    CNamer namer(prefix);
    UB::CHandle* root = scene.AddObject(namer.Next());
    const std::array<UB::CHandle*, 3> anchors = AddRigBody(scene, root, namer);
    for (int chain = 0; chain < chains; ++chain)
        AddChainBelow(scene, anchors[chain % 3], chainLength, namer);
    return root;
}

UB::CHandle* AddRigOfSize(KV::CSceneModel& scene, int nodeCount, const QString& prefix)
{
    CNamer namer(prefix);
    UB::CHandle* root = scene.AddObject(namer.Next());
    const std::array<UB::CHandle*, 3> anchors = AddRigBody(scene, root, namer);
    int left = nodeCount - namer.Count();
    for (int chain = 0; left > 0; ++chain) {
        const int links = std::min(left, kRigChainLength);
        AddChainBelow(scene, anchors[chain % 3], links, namer);
        left -= links;
    }
    return root;
}

UB::CHandle* AddImportedModel(KV::CSceneModel& scene, int nodeCount, const QString& prefix)
{
    CNamer namer(prefix);
    UB::CHandle* root = scene.AddObject(namer.Next());
    QVector<UB::CHandle*> groups{root};
    for (int level = 0; level < 3 && namer.Count() < nodeCount; ++level) {
        QVector<UB::CHandle*> next;
        for (UB::CHandle* group : groups) {
            for (int i = 0; i < 6 && namer.Count() < nodeCount; ++i)
                next.append(scene.AddNode(group, namer.Next()));
        }
        groups = next;
    }
    for (int mesh = 0; namer.Count() < nodeCount; ++mesh)
        scene.AddNode(groups[mesh % groups.size()], namer.Next());
    return root;
}
