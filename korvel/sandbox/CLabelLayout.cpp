#include "CLabelLayout.h"

namespace KV {

CLabelLayout::CLabelLayout(const QRectF& area)
    : m_area(area)
{}

QRectF CLabelLayout::Place(const QPointF& anchor, const QSizeF& size, qreal gap, bool mustShow)
{
    const qreal w = size.width();
    const qreal h = size.height();
    const QRectF places[] = {
        {anchor.x() + gap, anchor.y() - h / 2, w, h},     // right
        {anchor.x() - gap - w, anchor.y() - h / 2, w, h}, // left
        {anchor.x() - w / 2, anchor.y() - gap - h, w, h}, // above
        {anchor.x() - w / 2, anchor.y() + gap, w, h},     // below
    };
    for (const QRectF& place : places) {
        if (IsFree(place)) {
            m_taken.append(place);
            return place;
        }
    }
    if (!mustShow)
        return {};
    m_taken.append(places[0]);
    return places[0];
}

bool CLabelLayout::IsFree(const QRectF& rect) const
{
    if (!m_area.contains(rect))
        return false;
    for (const QRectF& taken : m_taken) {
        if (taken.intersects(rect))
            return false;
    }
    return true;
}

} // namespace KV
