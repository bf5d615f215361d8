#pragma once

#include <cstddef>
#include <vector>

class QTreeWidgetItem;

namespace UB {
class CHandle;
}

namespace KV {

/// The node tree's handle-to-item map: the first item of every listed node, found by its
/// handle. Every rebuild enters each node once and lookups are all it serves, so it is one
/// open-addressing table: no allocation per entry, and emptying keeps the table for the next
/// rebuild, which usually lists the same object again.
class CHandleItemMap
{
public:
    /// Enters `item` for `node` unless the node has an item already (the first one stays).
    /// Returns whether it was entered. A null node is never entered.
    bool Insert(const UB::CHandle* node, QTreeWidgetItem* item);
    /// The node's item, or null.
    QTreeWidgetItem* Find(const UB::CHandle* node) const;
    /// Starts loading the node's first slot into the cache: in a large table every insert
    /// misses it, and the work between this and the insert hides the wait.
    void Prefetch(const UB::CHandle* node) const;
    std::size_t Size() const { return m_size; }
    bool IsEmpty() const { return m_size == 0; }
    /// Empties the map; its table stays for the next rebuild.
    void Clear();

private:
    struct CSlot
    {
        const UB::CHandle* node = nullptr; // null: free
        QTreeWidgetItem* item = nullptr;
    };

    std::size_t FirstSlot(const UB::CHandle* node) const;
    void Grow();

    std::vector<CSlot> m_slots; // a power of two, at most half of them in use
    unsigned m_shift = 64;      // 64 - log2 of the table's size
    std::size_t m_size = 0;
};

} // namespace KV
