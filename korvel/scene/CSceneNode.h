#pragma once

#include "CNodeKeys.h"
#include "KVSceneModel.h"

#include <QVector>

namespace KV {

/// One object or node of the scene. The scene owns it; the handle's reference counting does
/// nothing, because nodes live exactly as long as the scene keeps them.
class CSceneNode final : public UB::CHandle
{
public:
    CSceneNode(qint64 id, const CNodeDesc& desc);

    void AddRef() override {}
    void Release() override {}

    /// The link parent in force at `time`: the keyed one, or the structural parent before the
    /// first link key.
    CSceneNode* LinkParentAt(UBTime time) const;
    /// The local transform in force at `time`: the keyed one, or the rest transform before the
    /// first key.
    TransformRecord LocalTransformAt(UBTime time) const;

    // Plain data, kept consistent by CSceneState.
    qint64 id = 0;
    CNodeDesc desc;
    CSceneNode* structuralParent = nullptr;
    QVector<CSceneNode*> children;
    CSceneNode* owner = nullptr;
    CSceneNode* ownerRoot = nullptr;
    CNodeKeys keys;
    TransformRecord rest;
};

} // namespace KV
