#pragma once

#include "CModalWatch.h"

namespace KV::test {

/// Answers the next modal dialog from inside its event loop (for code that calls exec()); an
/// answer that leaves the dialog open fails the test, and the dialog is rejected.
class CModalAnswer : public CModalWatch
{
public:
    using CModalWatch::CModalWatch;
    ~CModalAnswer() override;
};

} // namespace KV::test
