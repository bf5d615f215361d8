#pragma once

#include <QRectF>
#include <QSizeF>
#include <QVector>

namespace KV {

/// Places text labels beside points so that no label covers another: each label tries the
/// right of its point, then the left, above and below. Labels that must show (the node under
/// the cursor, the selection) come first and take their first place even when it is taken;
/// the others are left out when every place is.
class CLabelLayout
{
public:
    /// `area`: where labels may go (the view).
    explicit CLabelLayout(const QRectF& area);

    /// The rectangle the label takes, or an empty one when it is left out. `gap` is the room
    /// between the point and the label (the shape's radius and a little).
    QRectF Place(const QPointF& anchor, const QSizeF& size, qreal gap, bool mustShow);

private:
    bool IsFree(const QRectF& rect) const;

    QRectF m_area;
    QVector<QRectF> m_taken;
};

} // namespace KV
