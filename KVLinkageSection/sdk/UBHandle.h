#pragma once

namespace UB {

/// Polymorphic base of the host's handles to scene objects and nodes. The plug-in uses
/// handles as plain, non-owning pointers; null means none.
///
/// Virtual slot order is the host's binary contract: destructor, AddRef, Release.
class CHandle
{
public:
    virtual ~CHandle() = default;
    virtual void AddRef() = 0;
    virtual void Release() = 0;
};

} // namespace UB
