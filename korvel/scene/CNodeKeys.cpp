#include "CNodeKeys.h"

#include <iterator>

namespace KV {

CSceneNode* CNodeKeys::LinkAt(UBTime time, bool* found) const
{
    const auto after = link.upper_bound(time);
    *found = after != link.begin();
    return *found ? std::prev(after)->second : nullptr;
}

const TransformRecord* CNodeKeys::TransformAt(UBTime time) const
{
    const auto after = transform.upper_bound(time);
    return after == transform.begin() ? nullptr : &std::prev(after)->second;
}

bool CNodeKeys::NextLinkTime(UBTime time, UBTime* next) const
{
    const auto after = link.upper_bound(time);
    if (after == link.end())
        return false;
    *next = after->first;
    return true;
}

} // namespace KV
