#pragma once

// Conversions between the host's transform record (position, rotation quaternion x y z w,
// scale) and 4x4 matrices, and the placements that linking with alignment needs.

#include "host/UBTypes.h"

#include <QMatrix4x4>
#include <QQuaternion>
#include <QVector3D>

namespace KV {
namespace TransformMath {

QVector3D Position(const TransformRecord& record);
QQuaternion Rotation(const TransformRecord& record);
QVector3D Scale(const TransformRecord& record);
TransformRecord MakeRecord(const QVector3D& position, const QQuaternion& rotation,
                           const QVector3D& scale);

/// translate(position) * rotate(rotation) * scale(scale).
QMatrix4x4 ToMatrix(const TransformRecord& record);
/// Splits an affine matrix into position, rotation and scale; any shear is lost. The reserved
/// fields are zero.
TransformRecord FromMatrix(const QMatrix4x4& matrix);

/// The local record that puts a node at `world` under a parent placed at `parentWorld`. A
/// degenerate parent (a zero scale) cannot be inverted; the world placement is used as is.
TransformRecord LocalFor(const QMatrix4x4& parentWorld, const QMatrix4x4& world);

/// Whether every field is a finite number and the rotation is not the zero quaternion.
bool IsUsable(const TransformRecord& record);

} // namespace TransformMath
} // namespace KV
