#include "CFaultTable.h"

#include <QtGlobal>

namespace KV {

const QStringList& CFaultTable::FaultableCalls()
{
    static const QStringList calls = {
        QStringLiteral("GetSelectedObjects"),  QStringLiteral("GetLinkParent"),
        QStringLiteral("GetObjectType"),       QStringLiteral("GetNodeKind"),
        QStringLiteral("GetChildNodes"),       QStringLiteral("GetSubNodes"),
        QStringLiteral("GetNodeOwner"),        QStringLiteral("GetOwnerRoot"),
        QStringLiteral("GetTransform"),        QStringLiteral("IsLinkDisabled"),
        QStringLiteral("SetTransform"),        QStringLiteral("LinkObjects"),
        QStringLiteral("UnlinkObject"),        QStringLiteral("SetPickMode"),
        QStringLiteral("EndPickMode"),         QStringLiteral("ShowSection"),
        QStringLiteral("RegisterHotKeyAction")};
    return calls;
}

void CFaultTable::Inject(const QString& call, int code, int count, bool touchOutputs)
{
    if (!FaultableCalls().contains(call)) {
        qWarning("Scene: %s returns no result code and cannot be made to fail",
                 qUtf8Printable(call));
        return;
    }
    if (count == 0) {
        m_faults.remove(call);
        return;
    }
    m_faults.insert(call, {code, count < 0 ? -1 : count, touchOutputs});
}

bool CFaultTable::TakeSlow(const char* call, UB::Result* code, bool* touchOutputs)
{
    const auto it = m_faults.find(QLatin1String(call));
    if (it == m_faults.end())
        return false;
    *code = UB::Result(it->code);
    *touchOutputs = it->touchOutputs;
    if (it->remaining > 0 && --it->remaining == 0)
        m_faults.erase(it);
    return true;
}

} // namespace KV
