#pragma once

// Foundation types of the host SDK. Their layout is shared with the host binary: keep sizes
// and member order as they are.

#include <cstdint>
#include <utility>
#include <vector>

/// The host's time value, as handed out by the scene manager's GetCurrentTime.
using UBTime = std::int32_t;

/// The transform of an object at a time: fifteen 32-bit fields in the host's layout. The
/// plug-in stores and hands it back whole and never reads its fields; the stand-in host
/// reads them as a local position, a rotation quaternion (x, y, z, w) and a scale.
struct TransformRecord
{
    float position[3] = {0.0f, 0.0f, 0.0f};
    float rotation[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    float scale[3] = {1.0f, 1.0f, 1.0f};
    std::int32_t reserved[5] = {0, 0, 0, 0, 0};
};
static_assert(sizeof(TransformRecord) == 60, "TransformRecord is 60 bytes in the host's layout");

namespace UB {

/// Result of plug-in and host operations. 0 is success, 1 success with nothing done, a
/// negative code a failure that set-up steps pass up unchanged.
struct Result
{
    std::int32_t code = 0;

    constexpr Result() = default;
    // Codes are read as results. NOLINTNEXTLINE(google-explicit-constructor)
    constexpr Result(std::int32_t value)
        : code(value)
    {}
    constexpr bool IsFailed() const { return code < 0; }
    constexpr bool IsSucceeded() const { return code >= 0; }
    constexpr bool operator==(const Result& other) const { return code == other.code; }
    constexpr bool operator!=(const Result& other) const { return code != other.code; }
};

constexpr std::int32_t ToCode(std::uint32_t bits)
{
    return static_cast<std::int32_t>(bits);
}

constexpr Result kOk{0};
constexpr Result kNothingDone{1};
/// Allocating the section or a container entry failed.
constexpr Result kAllocationFailed{ToCode(0x80000002u)};
/// A widget or dialog could not be made, a dialog got no host, or an element to remove was
/// absent.
constexpr Result kNotCreated{ToCode(0x80000003u)};
/// The section was given no host interface.
constexpr Result kNoHost{ToCode(0x80000005u)};

/// The host's contiguous growable array: selections, sub-node lists and the framework's
/// lists of tool bars, menus and context actions.
template<typename T>
class CArrayList
{
public:
    using value_type = T;
    using iterator = typename std::vector<T>::iterator;
    using const_iterator = typename std::vector<T>::const_iterator;

    CArrayList() = default;
    CArrayList(std::initializer_list<T> items)
        : m_items(items)
    {}

    int GetCount() const { return static_cast<int>(m_items.size()); }
    bool IsEmpty() const { return m_items.empty(); }
    void Reserve(int count) { m_items.reserve(static_cast<std::size_t>(count < 0 ? 0 : count)); }
    void Add(const T& item) { m_items.push_back(item); }
    void Add(T&& item) { m_items.push_back(std::move(item)); }
    void RemoveAt(int index) { m_items.erase(m_items.begin() + index); }
    void Clear() { m_items.clear(); }

    T& operator[](int index) { return m_items[static_cast<std::size_t>(index)]; }
    const T& operator[](int index) const { return m_items[static_cast<std::size_t>(index)]; }
    T* GetData() { return m_items.data(); }
    const T* GetData() const { return m_items.data(); }

    iterator begin() { return m_items.begin(); }
    iterator end() { return m_items.end(); }
    const_iterator begin() const { return m_items.begin(); }
    const_iterator end() const { return m_items.end(); }

    bool operator==(const CArrayList& other) const { return m_items == other.m_items; }
    bool operator!=(const CArrayList& other) const { return m_items != other.m_items; }

private:
    std::vector<T> m_items;
};

} // namespace UB
