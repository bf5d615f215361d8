#pragma once

#include "host/UBTypes.h"

#include <QHash>
#include <QString>
#include <QStringList>

namespace KV {

/// Failures to hand out in place of chosen interface calls, for tests of how callers cope.
class CFaultTable
{
public:
    /// The interface calls that return a UB::Result and can therefore be made to fail.
    static const QStringList& FaultableCalls();

    /// The next `count` calls (every call when `count` is negative) return `code`.
    void Inject(const QString& call, int code, int count, bool touchOutputs);
    void Clear(const QString& call) { m_faults.remove(call); }
    void ClearAll() { m_faults.clear(); }
    /// Whether this call of `call` fails; if so uses up one of the counted calls. Costs one
    /// test while no fault is set.
    bool Take(const char* call, UB::Result* code, bool* touchOutputs)
    {
        return !m_faults.isEmpty() && TakeSlow(call, code, touchOutputs);
    }

private:
    struct Fault
    {
        int code = 0;
        int remaining = -1;
        bool touchOutputs = false;
    };
    bool TakeSlow(const char* call, UB::Result* code, bool* touchOutputs);

    QHash<QString, Fault> m_faults;
};

} // namespace KV
