#pragma once

#include "host/UBTypes.h"

#include <map>

namespace KV {

class CSceneNode;

/// A node's keyed link parents and local transforms. A key holds from its time until the next
/// later key of the same kind; before the first key the node has its initial state.
struct CNodeKeys
{
    std::map<UBTime, CSceneNode*> link;
    std::map<UBTime, TransformRecord> transform;

    /// The link key in force at `time`, or null when there is none (`found` tells which).
    CSceneNode* LinkAt(UBTime time, bool* found) const;
    /// The transform key in force at `time`, or null when there is none.
    const TransformRecord* TransformAt(UBTime time) const;
    /// The time of the first link key after `time`, or false when there is none.
    bool NextLinkTime(UBTime time, UBTime* next) const;
};

} // namespace KV
