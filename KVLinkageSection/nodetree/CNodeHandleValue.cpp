#include "nodetree/CNodeHandleValue.h"

#include "host/KVEventSender.h"

#include <QAtomicInt>

namespace KV {

namespace {

CNodeHandleValue WrapHandle(UB::CHandle* handle)
{
    return CNodeHandleValue{handle};
}

} // namespace

int CNodeHandleValue::MetaTypeId()
{
    static QBasicAtomicInt registeredId = Q_BASIC_ATOMIC_INITIALIZER(0);
    if (const int id = registeredId.loadAcquire())
        return id;
    // A non-null dummy makes Qt register a type of its own rather than an alias of an id that
    // qMetaTypeId would look up, which would land back here.
    auto* const notAnAlias = reinterpret_cast<CNodeHandleValue*>(quintptr(-1));
    const int id = qRegisterMetaType<CNodeHandleValue>("UBHANDLE", notAnAlias);
    registeredId.storeRelease(id);
    // Registered after the id is stored: the converter asks for this id again.
    QMetaType::registerConverter<UB::CHandle*, CNodeHandleValue>(&WrapHandle);
    return id;
}

QVariant CNodeHandleValue::ToVariant(UB::CHandle* handle)
{
    const CNodeHandleValue value{handle};
    return QVariant(MetaTypeId(), &value);
}

UB::CHandle* CNodeHandleValue::FromVariant(const QVariant& value)
{
    const int id = MetaTypeId();
    if (value.userType() == id)
        return static_cast<const CNodeHandleValue*>(value.constData())->handle;
    QVariant converted = value;
    if (!converted.convert(id))
        return nullptr;
    return static_cast<const CNodeHandleValue*>(converted.constData())->handle;
}

} // namespace KV
