#include "CSceneNode.h"

namespace KV {

CSceneNode::CSceneNode(qint64 nodeId, const CNodeDesc& nodeDesc)
    : id(nodeId)
    , desc(nodeDesc)
{}

CSceneNode* CSceneNode::LinkParentAt(UBTime time) const
{
    bool keyed = false;
    CSceneNode* parent = keys.LinkAt(time, &keyed);
    return keyed ? parent : structuralParent;
}

TransformRecord CSceneNode::LocalTransformAt(UBTime time) const
{
    const TransformRecord* keyed = keys.TransformAt(time);
    return keyed ? *keyed : rest;
}

} // namespace KV
