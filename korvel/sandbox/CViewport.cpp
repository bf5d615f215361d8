#include "CViewport.h"

#include "CLabelLayout.h"
#include "CObjectTypes.h"
#include "KVSceneModel.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QQuaternion>
#include <QRubberBand>
#include <QSet>
#include <QVector3D>

#include <algorithm>
#include <cmath>
#include <limits>

namespace KV {

namespace {

// Room around the scene: labels stand to the right of their shapes, the caption at the bottom.
constexpr qreal kMarginLeft = 40.0;
constexpr qreal kMarginRight = 100.0;
constexpr qreal kMarginTop = 40.0;
constexpr qreal kMarginBottom = 56.0;
constexpr qreal kObjectRadius = 8.0;
constexpr qreal kNodeRadius = 5.0;
constexpr qreal kObjectReach = 11.0;
constexpr qreal kNodeReach = 8.0;
constexpr qreal kMinimumExtent = 100.0; // world units: a lone object is not blown up to fill all
constexpr qreal kLabelPadding = 3.0;
constexpr int kBannerHeight = 32;
constexpr int kCaptionHeight = 40;
const QColor kPickColour(0xff, 0xd5, 0x4f);

} // namespace

CViewport::CViewport(CSceneModel* scene, QWidget* parent)
    : QWidget(parent)
    , m_scene(scene)
    , m_rubberBand(new QRubberBand(QRubberBand::Rectangle, this))
{
    setObjectName(QStringLiteral("qtViewport"));
    setMouseTracking(true);
    setMinimumSize(200, 150);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(0x2b, 0x2e, 0x33));
    colours.setColor(QPalette::WindowText, QColor(0xe8, 0xea, 0xed));
    setPalette(colours);

    connect(m_scene, &CSceneModel::SceneChanged, this, &CViewport::Invalidate);
    connect(m_scene, &CSceneModel::TimeChanged, this, &CViewport::Invalidate);
    connect(m_scene, &CSceneModel::SelectionChanged, this, qOverload<>(&QWidget::update));
    connect(m_scene->EventSender(), &CEventSender::PickedModeChanged, this,
            &CViewport::UpdateCursor);
    UpdateCursor();
}

QSize CViewport::sizeHint() const
{
    return {720, 520};
}

QPoint CViewport::NodePosition(UB::CHandle* node)
{
    EnsureLayout();
    const int index = m_index.value(node, -1);
    return index < 0 ? QPoint(-1, -1) : m_drawn[index].screen.toPoint();
}

UB::CHandle* CViewport::NodeAt(const QPoint& pos)
{
    EnsureLayout();
    UB::CHandle* best = nullptr;
    qreal bestDistance = std::numeric_limits<qreal>::max();
    bool bestIsObject = false;
    for (const CDrawnNode& drawn : m_drawn) {
        const QPointF delta = drawn.screen - QPointF(pos);
        const qreal distance = std::hypot(delta.x(), delta.y());
        if (distance > (drawn.isObject ? kObjectReach : kNodeReach))
            continue;
        const bool closer = distance < bestDistance - 0.5;
        const bool tieWon =
            !closer && distance <= bestDistance + 0.5 && drawn.isObject && !bestIsObject;
        if (closer || tieWon) {
            best = drawn.node;
            bestDistance = distance;
            bestIsObject = drawn.isObject;
        }
    }
    return best;
}

void CViewport::FitBounds()
{
    if (m_drawn.isEmpty())
        return;
    // QRectF::united ignores empty rectangles, and a point is one: grow by hand.
    m_bounds = QRectF(m_drawn.first().world, QSizeF(0, 0));
    for (const CDrawnNode& drawn : m_drawn) {
        m_bounds.setLeft(std::min(m_bounds.left(), drawn.world.x()));
        m_bounds.setRight(std::max(m_bounds.right(), drawn.world.x()));
        m_bounds.setTop(std::min(m_bounds.top(), drawn.world.y()));
        m_bounds.setBottom(std::max(m_bounds.bottom(), drawn.world.y()));
    }
    m_hasBounds = true;
}

void CViewport::ResetView()
{
    m_hasBounds = false;
    Invalidate();
}

void CViewport::SetCaption(const QString& caption)
{
    m_caption = caption;
    update();
}

void CViewport::Invalidate()
{
    m_layoutValid = false;
    if (m_hovered != nullptr && !m_scene->Contains(m_hovered))
        m_hovered = nullptr;
    update();
}

void CViewport::EnsureLayout()
{
    if (m_layoutValid)
        return;
    m_layoutValid = true;
    const UBTime now = m_scene->CurrentTime();
    const QVector<UB::CHandle*> nodes = m_scene->AllNodes();
    m_drawn.resize(nodes.size());
    m_index.clear();
    m_index.reserve(nodes.size());
    for (int i = 0; i < nodes.size(); ++i) {
        UB::CHandle* node = nodes[i];
        const CNodeDesc& desc = m_scene->Desc(node);
        const TransformRecord world = m_scene->WorldTransformAt(node, now);
        CDrawnNode& drawn = m_drawn[i];
        drawn.node = node;
        drawn.parent = m_scene->LinkParentAt(node, now);
        drawn.world = QPointF(world.position[0], world.position[1]);
        drawn.isObject = m_scene->StructuralParent(node) == nullptr;
        drawn.structuralLink =
            drawn.parent != nullptr && drawn.parent == m_scene->StructuralParent(node);
        drawn.type = desc.objectType;
        drawn.name = desc.name;
        const QVector3D axis =
            QQuaternion(world.rotation[3], world.rotation[0], world.rotation[1], world.rotation[2])
                .normalized()
                .rotatedVector(QVector3D(1.0f, 0.0f, 0.0f));
        const QPointF planar(axis.x(), axis.y());
        const qreal length = std::hypot(planar.x(), planar.y());
        drawn.axis = length > 0.2 ? planar / length : QPointF();
        m_index.insert(node, i);
    }
    if (!m_hasBounds)
        FitBounds();
    for (CDrawnNode& drawn : m_drawn)
        drawn.screen = ToScreen(drawn.world);
}

QPointF CViewport::ToScreen(const QPointF& world) const
{
    QRectF area = m_bounds;
    if (area.width() < kMinimumExtent)
        area.adjust(-(kMinimumExtent - area.width()) / 2, 0, (kMinimumExtent - area.width()) / 2,
                    0);
    if (area.height() < kMinimumExtent)
        area.adjust(0, -(kMinimumExtent - area.height()) / 2, 0,
                    (kMinimumExtent - area.height()) / 2);
    const qreal usableWidth = std::max(1.0, width() - kMarginLeft - kMarginRight);
    const qreal usableHeight = std::max(1.0, height() - kMarginTop - kMarginBottom);
    const qreal scale = std::min(usableWidth / area.width(), usableHeight / area.height());
    const QPointF centre = area.center();
    return {kMarginLeft + usableWidth / 2.0 + (world.x() - centre.x()) * scale,
            kMarginTop + usableHeight / 2.0 - (world.y() - centre.y()) * scale};
}

void CViewport::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Invalidate();
}

void CViewport::paintEvent(QPaintEvent*)
{
    EnsureLayout();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    painter.setPen(QPen(QColor(0x3a, 0x3e, 0x45), 1.0));
    for (int x = 0; x < width(); x += 40)
        painter.drawLine(x, 0, x, height());
    for (int y = 0; y < height(); y += 40)
        painter.drawLine(0, y, width(), y);

    const QVector<UB::CHandle*> selection = m_scene->Selection();
    const bool picking = m_scene->PickMode() == ePickParent;

    // Links first, so that the shapes sit on top of them.
    for (const CDrawnNode& drawn : m_drawn) {
        const int parentIndex = m_index.value(drawn.parent, -1);
        if (parentIndex < 0)
            continue;
        if (drawn.structuralLink) {
            painter.setPen(QPen(QColor(0x6b, 0x72, 0x7d), 1.5));
        } else {
            painter.setPen(QPen(QColor(0xf0, 0xa0, 0x3c), 1.5, Qt::DashLine));
        }
        painter.drawLine(drawn.screen, m_drawn[parentIndex].screen);
    }

    for (const CDrawnNode& drawn : m_drawn) {
        const bool selected = selection.contains(drawn.node);
        const qreal radius = drawn.isObject ? kObjectRadius : kNodeRadius;
        if (selected) {
            painter.setPen(QPen(QColor(0xff, 0xff, 0xff), 2.0));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(drawn.screen, radius + 4, radius + 4);
        }
        painter.setPen(QPen(CObjectTypes::TypeColor(drawn.type).darker(170), 1.0));
        CObjectTypes::DrawTypeShape(painter, drawn.type, drawn.screen, radius);
        if (drawn.isObject && !drawn.axis.isNull()) {
            painter.setPen(QPen(QColor(0xe8, 0x5d, 0x5d), 2.0));
            const QPointF tip(drawn.axis.x() * (radius + 8), -drawn.axis.y() * (radius + 8));
            painter.drawLine(drawn.screen, drawn.screen + tip);
        }
    }
    PaintHighlight(painter, picking);
    PaintLabels(painter);

    painter.setFont(font());
    if (picking) {
        painter.setPen(QColor(0xff, 0xd5, 0x4f));
        painter.drawText(QRect(0, 8, width(), kBannerHeight - 8), Qt::AlignHCenter,
                         tr("Pick the parent: click an object or node (right-click or Esc to "
                            "stop)"));
    }
    if (!m_caption.isEmpty()) {
        const QRect band(0, height() - kCaptionHeight, width(), kCaptionHeight);
        painter.fillRect(band, QColor(0, 0, 0, 150));
        painter.setPen(Qt::white);
        painter.drawText(band, Qt::AlignCenter, m_caption);
    }
}

void CViewport::PaintHighlight(QPainter& painter, bool picking)
{
    const int hovered = m_index.value(m_hovered, -1);
    if (hovered < 0)
        return;
    const CDrawnNode& target = m_drawn[hovered];
    const qreal radius = (target.isObject ? kObjectRadius : kNodeRadius) + 6;
    if (!picking) {
        painter.setPen(QPen(QColor(0xff, 0xff, 0xff, 140), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(target.screen, radius, radius);
        return;
    }
    // While picking, the candidate stands out, with a line from each object that would hang
    // from it.
    painter.setPen(QPen(kPickColour, 1.5, Qt::DashLine));
    for (UB::CHandle* object : m_scene->Selection()) {
        const int index = m_index.value(object, -1);
        if (index >= 0 && index != hovered)
            painter.drawLine(m_drawn[index].screen, target.screen);
    }
    painter.setPen(QPen(kPickColour, 3.0));
    painter.setBrush(QColor(0xff, 0xd5, 0x4f, 60));
    painter.drawEllipse(target.screen, radius, radius);
}

QVector<CViewport::CLabel> CViewport::Labels()
{
    EnsureLayout();
    const QVector<UB::CHandle*> selection = m_scene->Selection();
    // Labels stay clear of the pick banner and the caption.
    QRectF area(rect());
    if (m_scene->PickMode() == ePickParent)
        area.setTop(kBannerHeight);
    if (!m_caption.isEmpty())
        area.setBottom(height() - kCaptionHeight);
    CLabelLayout layout(area);
    QVector<CLabel> labels;
    const auto place = [&](int index, bool mustShow) {
        const CDrawnNode& drawn = m_drawn[index];
        const bool emphasised = drawn.node == m_hovered;
        const QSizeF size =
            QFontMetricsF(LabelFont(drawn, emphasised)).size(Qt::TextSingleLine, drawn.name) +
            QSizeF(2 * kLabelPadding, 0);
        const qreal gap = (drawn.isObject ? kObjectRadius : kNodeRadius) + 4;
        const QRectF placed = layout.Place(drawn.screen, size, gap, mustShow);
        if (!placed.isEmpty())
            labels.append({drawn.node, placed, emphasised});
    };
    // The node under the cursor first, then the selection, then the objects where they fit.
    QSet<int> done;
    QVector<int> order;
    order << m_index.value(m_hovered, -1);
    for (UB::CHandle* node : selection)
        order << m_index.value(node, -1);
    const int mustShow = order.size();
    for (int i = 0; i < m_drawn.size(); ++i) {
        if (m_drawn[i].isObject)
            order << i;
    }
    for (int i = 0; i < order.size(); ++i) {
        if (order[i] >= 0 && !done.contains(order[i])) {
            done.insert(order[i]);
            place(order[i], i < mustShow);
        }
    }
    return labels;
}

QFont CViewport::LabelFont(const CDrawnNode& drawn, bool emphasised) const
{
    QFont chosen = font();
    if (emphasised)
        chosen.setBold(true);
    else if (!drawn.isObject)
        chosen.setPointSizeF(chosen.pointSizeF() * 0.85);
    return chosen;
}

void CViewport::PaintLabels(QPainter& painter)
{
    const bool picking = m_scene->PickMode() == ePickParent;
    for (const CLabel& label : Labels()) {
        const CDrawnNode& drawn = m_drawn[m_index.value(label.node)];
        // A dark backing keeps the name readable over lines and other shapes.
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x1e, 0x20, 0x24, 200));
        painter.drawRoundedRect(label.rect, 3, 3);
        painter.setFont(LabelFont(drawn, label.emphasised));
        if (label.emphasised && picking)
            painter.setPen(kPickColour);
        else
            painter.setPen(drawn.isObject || label.emphasised
                               ? palette().color(QPalette::WindowText)
                               : QColor(0xb0, 0xb6, 0xbf));
        painter.drawText(label.rect, Qt::AlignCenter, drawn.name);
    }
}

void CViewport::mousePressEvent(QMouseEvent* event)
{
    const bool picking = m_scene->PickMode() == ePickParent;
    if (event->button() == Qt::RightButton) {
        // A right-click leaves the pick-parent mode; the context menu that Qt asks for next
        // must then stay away.
        m_pickCancelledByPress = picking;
        if (picking)
            emit PickCancelled();
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    if (picking) {
        if (UB::CHandle* node = NodeAt(event->pos()))
            emit NodePicked(node);
        return;
    }
    m_pressed = true;
    m_dragging = false;
    m_pressPos = event->pos();
}

void CViewport::contextMenuEvent(QContextMenuEvent* event)
{
    if (m_pickCancelledByPress || m_scene->PickMode() == ePickParent) {
        m_pickCancelledByPress = false;
        return;
    }
    // The menu acts on what was clicked: an unselected object becomes the selection first.
    UB::CHandle* node = NodeAt(event->pos());
    if (node != nullptr && !m_scene->Selection().contains(node))
        m_scene->SetSelection({node});
    emit ContextMenuRequested(event->globalPos());
}

void CViewport::mouseMoveEvent(QMouseEvent* event)
{
    if (m_pressed) {
        if (!m_dragging &&
            (event->pos() - m_pressPos).manhattanLength() >= QApplication::startDragDistance())
            m_dragging = true;
        if (m_dragging) {
            m_rubberBand->setGeometry(QRect(m_pressPos, event->pos()).normalized());
            m_rubberBand->show();
        }
        return;
    }
    UB::CHandle* hovered = NodeAt(event->pos());
    if (hovered != m_hovered) {
        m_hovered = hovered;
        update();
    }
}

void CViewport::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_pressed)
        return;
    m_pressed = false;
    const bool add = event->modifiers().testFlag(Qt::ControlModifier);
    if (m_dragging) {
        m_dragging = false;
        m_rubberBand->hide();
        SelectInRect(QRect(m_pressPos, event->pos()).normalized(), add);
    } else {
        SelectClicked(NodeAt(event->pos()), add);
    }
}

void CViewport::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    if (m_hovered != nullptr) {
        m_hovered = nullptr;
        update();
    }
}

void CViewport::SelectClicked(UB::CHandle* node, bool toggle)
{
    QVector<UB::CHandle*> selection = m_scene->Selection();
    if (!toggle) {
        selection.clear();
        if (node != nullptr)
            selection.append(node);
    } else if (node != nullptr) {
        if (!selection.removeOne(node))
            selection.append(node);
    }
    if (selection != m_scene->Selection())
        m_scene->SetSelection(selection);
}

void CViewport::SelectInRect(const QRect& rect, bool add)
{
    // The band takes objects only; the nodes inside them would bury the objects in a selection.
    QVector<UB::CHandle*> selection = add ? m_scene->Selection() : QVector<UB::CHandle*>();
    for (const CDrawnNode& drawn : m_drawn) {
        if (drawn.isObject && rect.contains(drawn.screen.toPoint()) &&
            !selection.contains(drawn.node))
            selection.append(drawn.node);
    }
    if (selection != m_scene->Selection())
        m_scene->SetSelection(selection);
}

void CViewport::UpdateCursor()
{
    if (m_scene->PickMode() == ePickParent)
        setCursor(Qt::CrossCursor);
    else
        unsetCursor();
    update();
}

} // namespace KV
