#include "CObjectTypes.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

#include <array>

namespace KV {

namespace {

struct CTypeRow
{
    int type;
    const char* name;
    CObjectTypes::EShape shape;
    QRgb colour;
};

// The types the linkage plug-in may link, in its order, then the others the sample scene uses.
constexpr std::array<CTypeRow, 23> kTypes{{
    {1, "Bone", CObjectTypes::EShape::Dot, 0xff8a8f98},
    {2, "Biped bone", CObjectTypes::EShape::Dot, 0xff7f96b2},
    {3, "Mesh", CObjectTypes::EShape::Circle, 0xff4f9bd9},
    {4, "Group", CObjectTypes::EShape::Square, 0xff9b7fd1},
    {5, "Dummy", CObjectTypes::EShape::Square, 0xff6fbf73},
    {7, "Shape", CObjectTypes::EShape::Circle, 0xff4fb6b0},
    {8, "Spline", CObjectTypes::EShape::Circle, 0xff3aa19b},
    {14, "Static mesh", CObjectTypes::EShape::Circle, 0xff8d9db6},
    {15, "Static shape", CObjectTypes::EShape::Circle, 0xff97a6a0},
    {18, "Vehicle", CObjectTypes::EShape::Square, 0xffc98a3d},
    {19, "Mount", CObjectTypes::EShape::Square, 0xffb5763a},
    {21, "Light", CObjectTypes::EShape::Diamond, 0xffe6c229},
    {23, "Camera", CObjectTypes::EShape::Triangle, 0xffd9534f},
    {24, "Camera target", CObjectTypes::EShape::Diamond, 0xffe08a87},
    {25, "Light target", CObjectTypes::EShape::Diamond, 0xffe8d77a},
    {41, "Hand prop", CObjectTypes::EShape::Circle, 0xffe0702d},
    {45, "Character", CObjectTypes::EShape::Square, 0xff2f7ed8},
    {46, "Skeleton", CObjectTypes::EShape::Square, 0xff5a7fa8},
    {54, "Effect", CObjectTypes::EShape::Diamond, 0xffc257b8},
    {0, "Unknown", CObjectTypes::EShape::Circle, 0xff9e9e9e},
    {6, "Attachment point", CObjectTypes::EShape::Dot, 0xffd08c2c},
    {9, "Terrain", CObjectTypes::EShape::Square, 0xff7d8c5a},
    {60, "Sound", CObjectTypes::EShape::Diamond, 0xff999999},
}};

const CTypeRow* FindRow(int type)
{
    for (const CTypeRow& row : kTypes) {
        if (row.type == type)
            return &row;
    }
    return nullptr;
}

} // namespace

QString CObjectTypes::TypeName(int type)
{
    const CTypeRow* row = FindRow(type);
    return row != nullptr ? QString::fromLatin1(row->name) : QStringLiteral("Type %1").arg(type);
}

QString CObjectTypes::NodeKindName(int kind)
{
    switch (kind) {
    case 0:
        return QStringLiteral("Object");
    case 1:
        return QStringLiteral("Rig (lists its owner root)");
    case 2:
        return QStringLiteral("Bone");
    case 3:
        return QStringLiteral("Attachment");
    case 4:
        return QStringLiteral("IK goal");
    case 8:
        return QStringLiteral("Collider");
    case 17:
        return QStringLiteral("Spring bone");
    default:
        return QStringLiteral("Kind %1").arg(kind);
    }
}

QColor CObjectTypes::TypeColor(int type)
{
    const CTypeRow* row = FindRow(type);
    return QColor::fromRgba(row != nullptr ? row->colour : 0xff9e9e9e);
}

CObjectTypes::EShape CObjectTypes::TypeShape(int type)
{
    const CTypeRow* row = FindRow(type);
    return row != nullptr ? row->shape : EShape::Circle;
}

void CObjectTypes::DrawTypeShape(QPainter& painter, int type, const QPointF& centre, qreal radius)
{
    painter.setBrush(TypeColor(type));
    const qreal r = radius;
    switch (TypeShape(type)) {
    case EShape::Circle:
        painter.drawEllipse(centre, r, r);
        break;
    case EShape::Dot:
        painter.drawEllipse(centre, r * 0.6, r * 0.6);
        break;
    case EShape::Square:
        painter.drawRect(QRectF(centre.x() - r * 0.85, centre.y() - r * 0.85, r * 1.7, r * 1.7));
        break;
    case EShape::Triangle:
        painter.drawPolygon(QPolygonF({centre + QPointF(0, -r), centre + QPointF(r, r * 0.8),
                                       centre + QPointF(-r, r * 0.8)}));
        break;
    case EShape::Diamond:
        painter.drawPolygon(QPolygonF({centre + QPointF(0, -r), centre + QPointF(r, 0),
                                       centre + QPointF(0, r), centre + QPointF(-r, 0)}));
        break;
    }
}

QIcon CObjectTypes::TypeIcon(int type)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(TypeColor(type).darker(160), 1.0));
    DrawTypeShape(painter, type, QPointF(8, 8), 6.0);
    painter.end();
    return QIcon(pixmap);
}

} // namespace KV
