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

CSceneNode* CSceneState::AddNode(CSceneNode* structuralParent, const CNodeDesc& desc, qint64 id,
                                 const TransformRecord& rest)
{
    if (id <= 0)
        id = m_nextId;
    m_nextId = std::max(m_nextId, id + 1);
    m_owned.push_back(std::make_unique<CSceneNode>(id, desc));
    CSceneNode* node = m_owned.back().get();
    node->rest = rest;
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

CRemoval CSceneState::RemoveNodes(const QVector<CSceneNode*>& roots)
{
    CRemoval removal;
    removal.removed = WithDescendants(roots);
    if (removal.removed.isEmpty())
        return removal;
    QHash<const CSceneNode*, bool> doomed;
    doomed.reserve(removal.removed.size());
    for (CSceneNode* node : qAsConst(removal.removed))
        doomed.insert(node, true);

    DropLinksTo(doomed, removal);
    removal.selection = selection;
    removal.camera = camera;
    selection.erase(std::remove_if(selection.begin(), selection.end(),
                                   [&](CSceneNode* node) { return doomed.contains(node); }),
                    selection.end());
    if (doomed.contains(camera))
        camera = nullptr;

    for (int i = 0; i < NodeCount(); ++i) {
        CSceneNode* node = m_order[static_cast<std::size_t>(i)];
        if (doomed.contains(node))
            removal.orderSlots.append({node, i});
    }
    // Every index is taken before anything moves, and kept ascending for RestoreNodes.
    for (CSceneNode* node : qAsConst(removal.removed)) {
        CSceneNode* parent = node->structuralParent;
        if (parent && !doomed.contains(parent))
            removal.childSlots.append({node, parent->children.indexOf(node)});
    }
    std::sort(removal.childSlots.begin(), removal.childSlots.end(),
              [](const CRemoval::CSlot& a, const CRemoval::CSlot& b) { return a.index < b.index; });
    for (const CRemoval::CSlot& slot : qAsConst(removal.childSlots))
        slot.node->structuralParent->children.removeOne(slot.node);
    for (CSceneNode* node : qAsConst(removal.removed)) {
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
        removal.owners.append({node, node->owner, node->ownerRoot});
        CSceneNode* top = node;
        while (top->structuralParent)
            top = top->structuralParent;
        if (doomed.contains(node->owner))
            node->owner = top;
        if (doomed.contains(node->ownerRoot))
            node->ownerRoot = top;
    }
    return removal;
}

void CSceneState::RestoreNodes(const CRemoval& removal)
{
    // Slots were taken in ascending order, so inserting in that order puts each node back at
    // its old index.
    for (const CRemoval::CSlot& slot : removal.orderSlots) {
        m_order.insert(m_order.begin() + slot.index, slot.node);
        m_lookup.insert(slot.node, slot.node);
        m_byId.insert(slot.node->id, slot.node);
    }
    for (const CRemoval::CSlot& slot : removal.childSlots)
        slot.node->structuralParent->children.insert(slot.index, slot.node);
    for (const CRemoval::CKeys& keys : removal.droppedLinks)
        keys.node->keys = keys.before;
    for (const CRemoval::COwners& owners : removal.owners) {
        owners.node->owner = owners.owner;
        owners.node->ownerRoot = owners.ownerRoot;
    }
    selection = removal.selection;
    camera = removal.camera;
}

void CSceneState::DropLinksTo(const QHash<const CSceneNode*, bool>& doomed, CRemoval& removal)
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
        bool dropsHere = false;
        for (const auto& key : node->keys.link) {
            if (key.second && doomed.contains(key.second)) {
                drops.append({node, key.first, WorldTransformAt(node, key.first)});
                dropsHere = true;
            }
        }
        if (dropsHere)
            removal.droppedLinks.append({node, node->keys});
    }
    for (const Drop& drop : drops) {
        drop.node->keys.link[drop.time] = nullptr;
        drop.node->keys.transform[drop.time] = drop.world;
    }
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
