#pragma once

#include <QString>

namespace KV {

/// Reads the layout settings file: the text under "[StyleSheet]" up to the next section
/// header. Returns false (and leaves `styleSheet` empty) when the file cannot be read.
bool ReadLayoutStyleSheet(const QString& path, QString& styleSheet);

} // namespace KV
