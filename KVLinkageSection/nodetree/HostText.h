#pragma once

#include <QString>

#include <string>

namespace KV {

/// The host's wide text as a QString; code points that are not characters become the
/// replacement character, as Qt makes them.
QString FromHostText(const std::wstring& text);

} // namespace KV
