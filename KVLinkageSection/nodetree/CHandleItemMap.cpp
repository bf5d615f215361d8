#include "nodetree/CHandleItemMap.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace KV {

namespace {

constexpr std::size_t kFirstTableSize = 64;

} // namespace

bool CHandleItemMap::Insert(const UB::CHandle* node, QTreeWidgetItem* item)
{
    if (node == nullptr)
        return false;
    if ((m_size + 1) * 2 > m_slots.size())
        Grow();
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t i = FirstSlot(node);; i = (i + 1) & mask) {
        CSlot& slot = m_slots[i];
        if (slot.node == node)
            return false;
        if (slot.node == nullptr) {
            slot = {node, item};
            ++m_size;
            return true;
        }
    }
}

QTreeWidgetItem* CHandleItemMap::Find(const UB::CHandle* node) const
{
    if (node == nullptr || m_size == 0)
        return nullptr;
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t i = FirstSlot(node);; i = (i + 1) & mask) {
        const CSlot& slot = m_slots[i];
        if (slot.node == node)
            return slot.item;
        if (slot.node == nullptr)
            return nullptr; // the table is never full, so every search ends
    }
}

void CHandleItemMap::Prefetch(const UB::CHandle* node) const
{
#if defined(__GNUC__)
    if (!m_slots.empty())
        __builtin_prefetch(&m_slots[FirstSlot(node)], 1);
#else
    static_cast<void>(node); // a hint only; without it the insert just waits
#endif
}

void CHandleItemMap::Clear()
{
    if (m_size == 0)
        return;
    std::fill(m_slots.begin(), m_slots.end(), CSlot());
    m_size = 0;
}

std::size_t CHandleItemMap::FirstSlot(const UB::CHandle* node) const
{
    // Fibonacci hashing: handles are aligned addresses, so their low bits say little; the
    // product's high bits depend on all of them.
    const auto key = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(node));
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> m_shift);
}

void CHandleItemMap::Grow()
{
    std::vector<CSlot> old(std::max(kFirstTableSize, m_slots.size() * 2));
    std::swap(old, m_slots);
    m_shift = 64;
    for (std::size_t size = m_slots.size(); size > 1; size /= 2)
        --m_shift;
    m_size = 0;
    for (const CSlot& slot : old) {
        if (slot.node != nullptr)
            Insert(slot.node, slot.item);
    }
}

} // namespace KV
