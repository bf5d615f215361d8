#pragma once

#include "KVSceneModel.h"

namespace KV {

/// A node to add to the scene: its description, the index of its parent among EARLIER entries
/// of the same list (-1: a new top-level object), and its local transform before any key.
struct CNewNode
{
    CNodeDesc desc;
    int parent = -1;
    TransformRecord rest;
};

} // namespace KV
