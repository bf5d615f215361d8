#pragma once

#include <QMetaType>
#include <QVariant>

namespace UB {
class CHandle;
}

namespace KV {

/// What a node item carries in column 0 under Qt::UserRole: the host's handle of its node.
/// The wrapper gives the handle its own meta-type, registered under the name "UBHANDLE", so
/// it does not collide with the plain `UB::CHandle*` the event sender registers.
struct CNodeHandleValue
{
    UB::CHandle* handle = nullptr;

    /// The id of the "UBHANDLE" meta-type. The first call registers it (with a conversion from
    /// a plain `UB::CHandle*` variant); every later call returns that first id.
    static int MetaTypeId();

    static QVariant ToVariant(UB::CHandle* handle);

    /// The handle `value` carries: its own when it holds a "UBHANDLE", otherwise what a
    /// conversion to "UBHANDLE" gives, and null when there is no such conversion.
    static UB::CHandle* FromVariant(const QVariant& value);
};

} // namespace KV

Q_DECLARE_TYPEINFO(KV::CNodeHandleValue, Q_MOVABLE_TYPE);

// Hand-written instead of Q_DECLARE_METATYPE, which would register the type under its C++
// name; the host's item data is known as "UBHANDLE".
template<>
struct QMetaTypeId<KV::CNodeHandleValue>
{
    enum
    {
        Defined = 1
    };
    static int qt_metatype_id() { return KV::CNodeHandleValue::MetaTypeId(); }
};
