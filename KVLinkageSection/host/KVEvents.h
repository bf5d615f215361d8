#pragma once

// Host event classes. Events carry no run-time type information across modules: each class
// has a small record with its name and its base class's record, and two events are compared
// by class name along that chain. Every module that includes this header carries its own
// records, built on first use and destroyed when the module unloads; identity is the name,
// never the record's address.

#include <string>

namespace KV {

struct CEventClassInfo
{
    std::string name;
    const CEventClassInfo* parent = nullptr;
};

/// Virtual slot order is the host's binary contract: GetClassInfo, IsKindOf, IsSameClass.
/// There is no virtual destructor in the table.
class CBaseEvent
{
public:
    static const CEventClassInfo* GetStaticClassInfo()
    {
        static const CEventClassInfo info{"CBaseEvent", nullptr};
        return &info;
    }

    virtual const CEventClassInfo* GetClassInfo() const { return GetStaticClassInfo(); }

    /// Whether this object's class is the class of `other` or derives from it.
    virtual bool IsKindOf(const CBaseEvent* other) const
    {
        const std::string& target = other->GetClassInfo()->name;
        for (const CEventClassInfo* info = GetClassInfo(); info != nullptr; info = info->parent) {
            if (info->name == target)
                return true;
        }
        return false;
    }

    /// Whether this object's class is exactly the class of `other`, by name.
    virtual bool IsSameClass(const CBaseEvent* other) const
    {
        return GetClassInfo()->name == other->GetClassInfo()->name;
    }
};

class CAnimationEvent : public CBaseEvent
{
public:
    static const CEventClassInfo* GetStaticClassInfo()
    {
        // The parent record is built first, so the chain completes root first.
        static const CEventClassInfo info{"CAnimationEvent", CBaseEvent::GetStaticClassInfo()};
        return &info;
    }
    const CEventClassInfo* GetClassInfo() const override { return GetStaticClassInfo(); }

    int time = 0;
};

class CLinkEvent : public CAnimationEvent
{
public:
    static const CEventClassInfo* GetStaticClassInfo()
    {
        static const CEventClassInfo info{"CLinkEvent", CAnimationEvent::GetStaticClassInfo()};
        return &info;
    }
    const CEventClassInfo* GetClassInfo() const override { return GetStaticClassInfo(); }

    void* object = nullptr;
    void* oldParent = nullptr;
    void* newParent = nullptr;
};

} // namespace KV
