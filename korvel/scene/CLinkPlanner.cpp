#include "CLinkPlanner.h"

#include "CSceneNode.h"
#include "CSceneState.h"
#include "KVSceneModel.h"
#include "TransformMath.h"

#include <QSet>

namespace KV {

CLinkPlanner::CLinkPlanner(const CSceneState& state)
    : m_state(state)
{}

UB::Result CLinkPlanner::PlanLink(const HandleList& objects, const UB::CHandle* target,
                                  int alignMode, UBTime time, QVector<CLinkChange>& plan) const
{
    plan.clear();
    if (alignMode < 0 || alignMode > 2)
        return CSceneModel::kInvalidArgument;
    CSceneNode* targetNode = m_state.Find(target);
    if (target && !targetNode)
        return CSceneModel::kInvalidHandle;

    QVector<CSceneNode*> nodes;
    QSet<CSceneNode*> seen;
    for (UB::CHandle* handle : objects) {
        CSceneNode* node = m_state.Find(handle);
        if (!node)
            return CSceneModel::kInvalidHandle;
        if (!seen.contains(node)) {
            seen.insert(node);
            nodes.append(node);
        }
    }
    if (nodes.isEmpty())
        return UB::kNothingDone;
    // Each object is checked against the scene before the edit: a chain from the target can
    // only reach another object of the list if that object itself would close a circle.
    for (CSceneNode* node : nodes) {
        if (m_state.WouldCycle(node, targetNode, time))
            return CSceneModel::kWouldCycle;
    }

    const QMatrix4x4 targetWorld =
        targetNode ? m_state.WorldMatrixAt(targetNode, time) : QMatrix4x4();
    const TransformRecord targetPlacement = TransformMath::FromMatrix(targetWorld);
    for (CSceneNode* node : nodes) {
        QMatrix4x4 world = m_state.WorldMatrixAt(node, time);
        if (targetNode && alignMode != 0) {
            const TransformRecord current = TransformMath::FromMatrix(world);
            const QQuaternion rotation = alignMode == 2 ? TransformMath::Rotation(targetPlacement)
                                                        : TransformMath::Rotation(current);
            world = TransformMath::ToMatrix(TransformMath::MakeRecord(
                TransformMath::Position(targetPlacement), rotation, TransformMath::Scale(current)));
        }
        plan.append({node, node->LinkParentAt(time), targetNode,
                     TransformMath::LocalFor(targetWorld, world), time, false});
    }
    return UB::kOk;
}

UB::Result CLinkPlanner::PlanUnlink(const UB::CHandle* object, UBTime time,
                                    QVector<CLinkChange>& plan) const
{
    plan.clear();
    CSceneNode* node = m_state.Find(object);
    if (!node)
        return CSceneModel::kInvalidHandle;
    CSceneNode* parent = node->LinkParentAt(time);
    if (!parent)
        return UB::kNothingDone;
    plan.append({node, parent, nullptr, m_state.WorldTransformAt(node, time), time, false});
    return UB::kOk;
}

void CLinkPlanner::Apply(const QVector<CLinkChange>& plan, UBTime time)
{
    for (const CLinkChange& change : plan) {
        change.node->keys.link[time] = change.newParent;
        change.node->keys.transform[time] = change.newLocal;
    }
}

} // namespace KV
