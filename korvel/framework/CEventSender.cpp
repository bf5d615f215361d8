#include "host/KVEventSender.h"

namespace KV {

CEventSender::CEventSender(QObject* parent)
    : QObject(parent)
{
    RegisterMetaTypes();
}

CEventSender::~CEventSender() = default;

void CEventSender::RegisterMetaTypes()
{
    qRegisterMetaType<KV::EPickMode>("KV::EPickMode");
    qRegisterMetaType<KV::EDialogMode>("KV::EDialogMode");
    qRegisterMetaType<KV::EFileType>("KV::EFileType");
    qRegisterMetaType<KV::EObjectChangedDataType>("KV::EObjectChangedDataType");
    qRegisterMetaType<UB::CHandle*>("UB::CHandle*");
    qRegisterMetaType<UB::CArrayList<UB::CHandle*>>("UB::CArrayList<UB::CHandle*>");
    qRegisterMetaType<KV::CBaseEvent*>("KV::CBaseEvent*");
    qRegisterMetaType<UBTime>("UBTime");
}

} // namespace KV
