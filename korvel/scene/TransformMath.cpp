#include "TransformMath.h"

#include <QMatrix3x3>

#include <cmath>

namespace KV {
namespace TransformMath {

QVector3D Position(const TransformRecord& record)
{
    return {record.position[0], record.position[1], record.position[2]};
}

QQuaternion Rotation(const TransformRecord& record)
{
    // QQuaternion takes the scalar part first; the record keeps it last.
    return QQuaternion(record.rotation[3], record.rotation[0], record.rotation[1],
                       record.rotation[2])
        .normalized();
}

QVector3D Scale(const TransformRecord& record)
{
    return {record.scale[0], record.scale[1], record.scale[2]};
}

TransformRecord MakeRecord(const QVector3D& position, const QQuaternion& rotation,
                           const QVector3D& scale)
{
    TransformRecord record;
    const QQuaternion unit = rotation.normalized();
    for (int i = 0; i < 3; ++i) {
        record.position[i] = position[i];
        record.scale[i] = scale[i];
    }
    record.rotation[0] = unit.x();
    record.rotation[1] = unit.y();
    record.rotation[2] = unit.z();
    record.rotation[3] = unit.scalar();
    return record;
}

QMatrix4x4 ToMatrix(const TransformRecord& record)
{
    QMatrix4x4 matrix;
    matrix.translate(Position(record));
    matrix.rotate(Rotation(record));
    matrix.scale(Scale(record));
    return matrix;
}

TransformRecord FromMatrix(const QMatrix4x4& matrix)
{
    QVector3D axes[3] = {matrix.column(0).toVector3D(), matrix.column(1).toVector3D(),
                         matrix.column(2).toVector3D()};
    QVector3D scale(axes[0].length(), axes[1].length(), axes[2].length());
    // A mirrored placement keeps its handedness in the sign of the first scale.
    if (QVector3D::dotProduct(QVector3D::crossProduct(axes[0], axes[1]), axes[2]) < 0.0f) {
        scale[0] = -scale[0];
    }
    QMatrix3x3 rotation;
    for (int column = 0; column < 3; ++column) {
        const QVector3D axis = qFuzzyIsNull(scale[column])
                                   ? QVector3D(column == 0, column == 1, column == 2)
                                   : axes[column] / scale[column];
        for (int row = 0; row < 3; ++row)
            rotation(row, column) = axis[row];
    }
    return MakeRecord(matrix.column(3).toVector3D(), QQuaternion::fromRotationMatrix(rotation),
                      scale);
}

TransformRecord LocalFor(const QMatrix4x4& parentWorld, const QMatrix4x4& world)
{
    bool invertible = false;
    const QMatrix4x4 inverse = parentWorld.inverted(&invertible);
    return FromMatrix(invertible ? inverse * world : world);
}

bool IsUsable(const TransformRecord& record)
{
    float length = 0.0f;
    for (int i = 0; i < 4; ++i) {
        if (!std::isfinite(record.rotation[i]))
            return false;
        length += record.rotation[i] * record.rotation[i];
    }
    for (int i = 0; i < 3; ++i) {
        if (!std::isfinite(record.position[i]) || !std::isfinite(record.scale[i]))
            return false;
    }
    return length > 1e-12f;
}

} // namespace TransformMath
} // namespace KV
