#include "host/KVWidgetBuilder.h"

namespace KV {

// The companion preset path is the form path with everything from its last dot replaced by
// ".preset"; the dot is looked for in the whole path, folders included.
void CWidgetBuilder::SetUiPath(QString path)
{
    m_formPath = path;
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    m_presetPath = dot < 0 ? path : path.left(dot) + QStringLiteral(".preset");
}

} // namespace KV
