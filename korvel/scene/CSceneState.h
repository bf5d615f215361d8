#pragma once

#include "CNodeKeys.h"
#include "host/UBTypes.h"

#include <QHash>
#include <QMap>
#include <QMatrix4x4>
#include <QString>
#include <QVector>

#include <memory>
#include <vector>

namespace UB {
class CHandle;
}

namespace KV {

class CSceneNode;
struct CNodeDesc;

/// What a removal of nodes changed, in enough detail to undo it exactly.
struct CRemoval
{
    struct CSlot
    {
        CSceneNode* node = nullptr;
        int index = 0; // in the parent's children, or in the creation order
    };
    struct COwners
    {
        CSceneNode* node = nullptr;
        CSceneNode* owner = nullptr;
        CSceneNode* ownerRoot = nullptr;
    };
    struct CKeys
    {
        CSceneNode* node = nullptr;
        CNodeKeys before;
    };

    QVector<CSceneNode*> removed;   // parents first
    QVector<CSlot> orderSlots;      // where each removed node stood in the creation order
    QVector<CSlot> childSlots;      // removed nodes whose structural parent stays
    QVector<CKeys> droppedLinks;    // staying nodes whose links to removed nodes went
    QVector<COwners> owners;        // staying nodes whose owner or owner root went
    QVector<CSceneNode*> selection; // the selection before
    CSceneNode* camera = nullptr;   // the camera before
};

/// Everything a scene file holds: the nodes with their structure and keys, the selection, the
/// camera, the current time and the standard node names. A file is read into a fresh state
/// that replaces the old one only when it is complete, so a broken file changes nothing.
///
/// Nothing here recurses with the depth of a tree or a link chain: chains of any depth are
/// walked in loops, and every walk stops after as many steps as there are nodes.
class CSceneState
{
public:
    CSceneState();
    ~CSceneState();
    CSceneState(const CSceneState&) = delete;
    CSceneState& operator=(const CSceneState&) = delete;

    static QMap<int, QString> DefaultStandardNames();

    // ---- Nodes -----------------------------------------------------------------------------

    /// Adds a node below `structuralParent` (an object when null). An `id` of 0 takes the next
    /// free one. Owner and owner root follow the parent's, or are the node itself for objects.
    CSceneNode* AddNode(CSceneNode* structuralParent, const CNodeDesc& desc, qint64 id = 0,
                        const TransformRecord& rest = TransformRecord());
    /// The live node behind a handle, or null for null, unknown and removed handles. Only the
    /// pointer value is looked at, so a dangling handle is harmless.
    CSceneNode* Find(const UB::CHandle* handle) const { return m_lookup.value(handle, nullptr); }
    CSceneNode* FindById(qint64 id) const { return m_byId.value(id, nullptr); }
    /// Live nodes in creation order.
    const std::vector<CSceneNode*>& Nodes() const { return m_order; }
    int NodeCount() const { return static_cast<int>(m_order.size()); }
    /// The first live node of that name in creation order.
    CSceneNode* FindByName(const QString& name) const;
    /// The first node named `name` strictly below `node`, depth-first in child order.
    CSceneNode* FindBelow(const CSceneNode* node, const QString& name) const;
    /// The nodes and all their structural descendants, each once, parents before children.
    QVector<CSceneNode*> WithDescendants(const QVector<CSceneNode*>& roots) const;

    /// Removes the nodes and everything below them. Link keys of the remaining nodes that name
    /// a removed node become "no parent", with a transform key that keeps the node where it was
    /// at that time. Removed nodes also leave the selection and the camera, and stay allocated
    /// until the state goes, so that a stale handle can never alias a new node. The record
    /// says everything that changed, so that RestoreNodes can put it back exactly.
    CRemoval RemoveNodes(const QVector<CSceneNode*>& roots);
    /// Undoes a RemoveNodes whose record this is, the last change of the state since then
    /// being that removal's undo order (a later removal is restored first).
    void RestoreNodes(const CRemoval& removal);

    // ---- Placement over time ---------------------------------------------------------------

    QMatrix4x4 WorldMatrixAt(const CSceneNode* node, UBTime time) const;
    TransformRecord WorldTransformAt(const CSceneNode* node, UBTime time) const;
    /// Whether linking `object` to `target` from `time` until the object's next link key would
    /// make the object its own ancestor at any moment of that span.
    bool WouldCycle(const CSceneNode* object, const CSceneNode* target, UBTime time) const;
    /// A node that is its own link ancestor at some time, or null; `time` receives the moment.
    const CSceneNode* FindLinkCycle(UBTime* time) const;

    // ---- Scene-wide values (plain data) ----------------------------------------------------

    QVector<CSceneNode*> selection;
    CSceneNode* camera = nullptr;
    UBTime currentTime = 0;
    QMap<int, QString> standardNames;

private:
    /// Link ancestors of `node` at `time`, nearest first, stopping early at `stopAt`.
    void CollectChain(const CSceneNode* node, UBTime time, QVector<const CSceneNode*>& chain,
                      const CSceneNode* stopAt = nullptr) const;
    void DropLinksTo(const QHash<const CSceneNode*, bool>& doomed, CRemoval& removal);

    std::vector<std::unique_ptr<CSceneNode>> m_owned; // live and removed nodes
    std::vector<CSceneNode*> m_order;                 // live nodes, creation order
    QHash<const UB::CHandle*, CSceneNode*> m_lookup;
    QHash<qint64, CSceneNode*> m_byId;
    qint64 m_nextId = 1;
};

} // namespace KV
