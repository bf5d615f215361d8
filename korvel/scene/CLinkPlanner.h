#pragma once

#include "host/KVKorvelInterface.h"

#include <QVector>

namespace KV {

class CSceneNode;
class CSceneState;

/// One node's new link parent and local transform at the edit's time.
struct CLinkChange
{
    CSceneNode* node = nullptr;
    CSceneNode* oldParent = nullptr;
    CSceneNode* newParent = nullptr;
    TransformRecord newLocal;
    UBTime time = 0;
    /// Whether the change was announced with host events (and is again on undo and redo).
    bool notify = false;
};

/// Works out what a link or unlink does before anything is changed, so that a refused edit
/// leaves the scene exactly as it was. Placements are all measured on the scene as it stands.
class CLinkPlanner
{
public:
    explicit CLinkPlanner(const CSceneState& state);

    /// Align 0 keeps each object's world placement, 1 moves it to the target's world position
    /// (keeping its world rotation and scale), 2 also takes the target's world rotation. A null
    /// target unlinks and keeps the world placement. Objects named twice count once.
    UB::Result PlanLink(const HandleList& objects, const UB::CHandle* target, int alignMode,
                        UBTime time, QVector<CLinkChange>& plan) const;
    /// Keeps the world placement; an object without link parent at `time` gives kNothingDone.
    UB::Result PlanUnlink(const UB::CHandle* object, UBTime time, QVector<CLinkChange>& plan) const;
    /// Writes the planned link and transform keys at `time`.
    static void Apply(const QVector<CLinkChange>& plan, UBTime time);

private:
    const CSceneState& m_state;
};

} // namespace KV
