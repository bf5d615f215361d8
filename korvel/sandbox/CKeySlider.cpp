#include "CKeySlider.h"

#include <QHelpEvent>
#include <QPainter>
#include <QPolygon>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolTip>

namespace KV {

namespace {

constexpr int kMarkRadius = 5;
// The colour of a link to another parent in the viewport.
const QColor kMarkColour(0xf0, 0xa0, 0x3c);

} // namespace

CKeySlider::CKeySlider(QWidget* parent)
    : QSlider(Qt::Horizontal, parent)
{}

void CKeySlider::SetKeys(const QVector<CKey>& keys)
{
    m_keys = keys;
    update();
}

QPoint CKeySlider::MarkPosition(UBTime time) const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect groove =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const QRect handle =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    // The handle's centre travels from half a handle into the groove to half a handle before
    // its end; a key sits where the handle's centre is at its time.
    const int span = groove.width() - handle.width();
    const int offset = QStyle::sliderPositionFromValue(minimum(), maximum(), time, span);
    return {groove.x() + handle.width() / 2 + offset, groove.center().y()};
}

void CKeySlider::paintEvent(QPaintEvent* event)
{
    QSlider::paintEvent(event);
    if (m_keys.isEmpty())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kMarkColour.darker(160), 1.0));
    painter.setBrush(kMarkColour);
    for (const CKey& key : m_keys) {
        if (key.time < minimum() || key.time > maximum())
            continue;
        const QPoint at = MarkPosition(key.time);
        painter.drawPolygon(QPolygon({at + QPoint(0, -kMarkRadius), at + QPoint(kMarkRadius, 0),
                                      at + QPoint(0, kMarkRadius), at + QPoint(-kMarkRadius, 0)}));
    }
}

bool CKeySlider::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QSlider::event(event);
    const QPoint pos = static_cast<QHelpEvent*>(event)->pos();
    QStringList lines;
    for (const CKey& key : m_keys) {
        if ((MarkPosition(key.time) - pos).manhattanLength() <= 2 * kMarkRadius)
            lines << key.text;
    }
    if (lines.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(),
                           lines.join(QLatin1Char('\n')), this);
    return true;
}

} // namespace KV
