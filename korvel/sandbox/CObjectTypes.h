#pragma once

#include <QColor>
#include <QIcon>
#include <QPointF>
#include <QString>

class QPainter;

namespace KV {

/// The sandbox's names and pictures for the host's object types and node kinds. The numbers are
/// the host's; what they are called here is the sandbox's own choice (docs/sandbox.md lists the
/// table).
class CObjectTypes
{
public:
    enum class EShape
    {
        Circle,
        Square,
        Triangle,
        Diamond,
        Dot,
    };

    static QString TypeName(int type);
    static QString NodeKindName(int kind);
    static QColor TypeColor(int type);
    static EShape TypeShape(int type);

    /// Draws the type's shape centred on `centre`; the viewport and the icons share it.
    static void DrawTypeShape(QPainter& painter, int type, const QPointF& centre, qreal radius);
    /// A small icon of the type's shape, for the outliner.
    static QIcon TypeIcon(int type);
};

} // namespace KV
