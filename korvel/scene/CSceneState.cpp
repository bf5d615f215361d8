#include "CSceneState.h"

#include "CSceneNode.h"
#include "TransformMath.h"

#include <algorithm>
#include <set>

namespace KV {

CSceneState::CSceneState()
    : standardNames(DefaultStandardNames())
{}

CSceneState::~CSceneState() = default;

QMap<int, QString> CSceneState::DefaultStandardNames()
{
    // The names the node listing looks for: 0 names a character body, 55 to 57 its prop
    // grips, 58 the lone skeleton group whose bones stand in for it, 59 helper gizmos that are
    // never offered as link targets.
    return {{0, QStringLiteral("Body")},      {55, QStringLiteral("Grip_L")},
            {56, QStringLiteral("Grip_R")},   {57, QStringLiteral("Grip_Back")},
            {58, QStringLiteral("Skeleton")}, {59, QStringLiteral("Gizmos")}};
}

// ---- Nodes ----------------------------------------------------------------------------------

CSceneNode* CSceneState::AddNode(CSceneNode* structuralParent, const CNodeDesc& desc, qint64 id)
{
    if (id <= 0)
        id = m_nextId;
    m_nextId = std::max(m_nextId, id + 1);
    m_owned.push_back(std::make_unique<CSceneNode>(id, desc));
    CSceneNode* node = m_owned.back().get();
    node->structuralParent = structuralParent;
    if (structuralParent) {
        structuralParent->children.append(node);
        node->owner = structuralParent->owner;
        node->ownerRoot = structuralParent->ownerRoot;
    } else {
        node->owner = node;
        node->ownerRoot = node;
    }
    m_order.push_back(node);
    m_lookup.insert(node, node);
    m_byId.insert(id, node);
    return node;
}

CSceneNode* CSceneState::FindByName(const QString& name) const
{
    for (CSceneNode* node : m_order) {
        if (node->desc.name == name)
            return node;
    }
    return nullptr;
}

CSceneNode* CSceneState::FindBelow(const CSceneNode* node, const QString& name) const
{
    if (!node)
        return nullptr;
    // Pre-order walk with an explicit stack, children pushed last-first to keep their order.
    QVector<CSceneNode*> pending(node->children.crbegin(), node->children.crend());
    while (!pending.isEmpty()) {
        CSceneNode* current = pending.takeLast();
        if (current->desc.name == name)
            return current;
        for (auto child = current->children.crbegin(); child != current->children.crend();
             ++child) {
            pending.append(*child);
        }
    }
    return nullptr;
}

QVector<CSceneNode*> CSceneState::WithDescendants(const QVector<CSceneNode*>& roots) const
{
    QHash<const CSceneNode*, bool> marked;
    QVector<CSceneNode*> pending;
    for (CSceneNode* root : roots) {
        if (root && Find(root))
            pending.append(root);
    }
    while (!pending.isEmpty()) {
        CSceneNode* current = pending.takeLast();
        if (marked.contains(current))
            continue;
        marked.insert(current, true);
        pending.append(current->children);
    }
    // Creation order puts every parent before its children.
    QVector<CSceneNode*> result;
    result.reserve(marked.size());
    for (CSceneNode* node : m_order) {
        if (marked.contains(node))
            result.append(node);
    }
    return result;
}

QVector<CSceneNode*> CSceneState::RemoveNodes(const QVector<CSceneNode*>& roots, bool* linksChanged)
{
    *linksChanged = false;
    const QVector<CSceneNode*> removed = WithDescendants(roots);
    if (removed.isEmpty())
        return removed;
    QHash<const CSceneNode*, bool> doomed;
    doomed.reserve(removed.size());
    for (CSceneNode* node : removed)
        doomed.insert(node, true);

    DropLinksTo(doomed, linksChanged);
    selection.erase(std::remove_if(selection.begin(), selection.end(),
                                   [&](CSceneNode* node) { return doomed.contains(node); }),
                    selection.end());
    if (doomed.contains(camera))
        camera = nullptr;

    for (CSceneNode* node : removed) {
        CSceneNode* parent = node->structuralParent;
        if (parent && !doomed.contains(parent))
            parent->children.removeOne(node);
        m_lookup.remove(node);
        m_byId.remove(node->id);
    }
    m_order.erase(std::remove_if(m_order.begin(), m_order.end(),
                                 [&](CSceneNode* node) { return doomed.contains(node); }),
                  m_order.end());

    // A node whose owner went is owned by its own top-level object again.
    for (CSceneNode* node : m_order) {
        if (!doomed.contains(node->owner) && !doomed.contains(node->ownerRoot))
            continue;
        CSceneNode* top = node;
        while (top->structuralParent)
            top = top->structuralParent;
        if (doomed.contains(node->owner))
            node->owner = top;
        if (doomed.contains(node->ownerRoot))
            node->ownerRoot = top;
    }
    return removed;
}

void CSceneState::DropLinksTo(const QHash<const CSceneNode*, bool>& doomed, bool* linksChanged)
{
    struct Drop
    {
        CSceneNode* node;
        UBTime time;
        TransformRecord world;
    };
    // Every world placement is taken before any key changes, so that one dropped link cannot
    // move another node that is measured later.
    QVector<Drop> drops;
    for (CSceneNode* node : m_order) {
        if (doomed.contains(node))
            continue;
        for (const auto& key : node->keys.link) {
            if (key.second && doomed.contains(key.second))
                drops.append({node, key.first, WorldTransformAt(node, key.first)});
        }
    }
    for (const Drop& drop : drops) {
        drop.node->keys.link[drop.time] = nullptr;
        drop.node->keys.transform[drop.time] = drop.world;
    }
    *linksChanged = !drops.isEmpty();
}

// ---- Placement over time --------------------------------------------------------------------

void CSceneState::CollectChain(const CSceneNode* node, UBTime time,
                               QVector<const CSceneNode*>& chain, const CSceneNode* stopAt) const
{
    chain.clear();
    // A chain longer than the scene has nodes runs in a circle; it is cut there.
    const int limit = NodeCount() + 1;
    for (const CSceneNode* current = node; current && chain.size() < limit;
         current = current->LinkParentAt(time)) {
        chain.append(current);
        if (current == stopAt)
            break;
    }
}

QMatrix4x4 CSceneState::WorldMatrixAt(const CSceneNode* node, UBTime time) const
{
    QVector<const CSceneNode*> chain;
    CollectChain(node, time, chain);
    QMatrix4x4 world;
    for (auto it = chain.crbegin(); it != chain.crend(); ++it)
        world *= TransformMath::ToMatrix((*it)->LocalTransformAt(time));
    return world;
}

TransformRecord CSceneState::WorldTransformAt(const CSceneNode* node, UBTime time) const
{
    return TransformMath::FromMatrix(WorldMatrixAt(node, time));
}

bool CSceneState::WouldCycle(const CSceneNode* object, const CSceneNode* target, UBTime time) const
{
    if (!target)
        return false;
    UBTime spanEnd = 0;
    const bool bounded = object->keys.NextLinkTime(time, &spanEnd);
    // The target's chain only changes where one of its members has a link key, so it is
    // enough to look at the start of the span and at each such key inside it.
    QVector<const CSceneNode*> chain;
    UBTime moment = time;
    for (;;) {
        CollectChain(target, moment, chain, object);
        if (chain.last() == object || chain.size() > NodeCount())
            return true;
        bool changes = false;
        UBTime nextChange = 0;
        for (const CSceneNode* member : chain) {
            UBTime keyTime = 0;
            if (member->keys.NextLinkTime(moment, &keyTime) && (!bounded || keyTime < spanEnd) &&
                (!changes || keyTime < nextChange)) {
                nextChange = keyTime;
                changes = true;
            }
        }
        if (!changes)
            return false;
        moment = nextChange;
    }
}

const CSceneNode* CSceneState::FindLinkCycle(UBTime* time) const
{
    // Between two link keys of the whole scene every link parent stays the same, and before
    // the first one every node hangs from its structural parent, which cannot circle.
    std::set<UBTime> moments;
    for (const CSceneNode* node : m_order) {
        for (const auto& key : node->keys.link)
            moments.insert(key.first);
    }
    QHash<const CSceneNode*, int> index;
    index.reserve(NodeCount());
    for (int i = 0; i < NodeCount(); ++i)
        index.insert(m_order[static_cast<std::size_t>(i)], i);

    enum : char
    {
        kUnseen,
        kOnPath,
        kDone
    };
    std::vector<char> mark;
    // A parent outside the live nodes ends a walk like having no parent.
    const auto markOf = [&](const CSceneNode* node) -> char* {
        const int at = node ? index.value(node, -1) : -1;
        return at < 0 ? nullptr : &mark[static_cast<std::size_t>(at)];
    };
    QVector<const CSceneNode*> path;
    for (UBTime moment : moments) {
        mark.assign(m_order.size(), kUnseen);
        for (const CSceneNode* start : m_order) {
            path.clear();
            const CSceneNode* current = start;
            for (char* state = markOf(current); state && *state == kUnseen;
                 state = markOf(current)) {
                *state = kOnPath;
                path.append(current);
                current = current->LinkParentAt(moment);
            }
            const char* reached = markOf(current);
            if (reached && *reached == kOnPath) {
                *time = moment;
                return current;
            }
            for (const CSceneNode* visited : path)
                *markOf(visited) = kDone;
        }
    }
    return nullptr;
}

} // namespace KV
