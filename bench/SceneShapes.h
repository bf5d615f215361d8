#pragma once

#include <QString>

namespace KV {
class CSceneModel;
}
namespace UB {
class CHandle;
}

// Node structures of the sizes and shapes an animator meets, for the benchmarks. Every function
// adds one object and returns it; its nodes are named "<prefix>_<n>" with n counting from 1 in
// creation order, the object itself "<prefix>_0".

/// `nodeCount` nodes in all, each with `branching` children until the count is reached
/// (filled level by level).
UB::CHandle* AddBalancedTree(KV::CSceneModel& scene, int nodeCount, int branching,
                             const QString& prefix);

/// A chain `depth` levels deep: every node has exactly one child.
UB::CHandle* AddChain(KV::CSceneModel& scene, int depth, const QString& prefix);

/// An object with `count` direct children and nothing deeper.
UB::CHandle* AddFlatList(KV::CSceneModel& scene, int count, const QString& prefix);

/// A character rig: a body skeleton with spine, neck, head, arms with five fingers, legs
/// and toes, about two hundred face bones, and `chains` cloth and hair chains of
/// `chainLength` links hanging from the head, chest and hips, so the deepest node lies
/// about `chainLength` + 10 levels down.
UB::CHandle* AddRig(KV::CSceneModel& scene, int chains, int chainLength, const QString& prefix);

/// A rig of `nodeCount` nodes: the rig above with as many cloth and hair chains of thirty
/// links as fill the count, the last one shorter.
UB::CHandle* AddRigOfSize(KV::CSceneModel& scene, int nodeCount, const QString& prefix);

/// An imported model of `nodeCount` nodes: three levels of groups, six to a group, and the
/// meshes shared out over the deepest groups, so it is wide and shallow where a rig is deep.
UB::CHandle* AddImportedModel(KV::CSceneModel& scene, int nodeCount, const QString& prefix);
