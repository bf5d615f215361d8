#pragma once

#include <QHash>
#include <QPointF>
#include <QRectF>
#include <QVector>
#include <QWidget>

class QPainter;
class QRubberBand;

namespace UB {
class CHandle;
}

namespace KV {

class CSceneModel;

/// A 2D view of the scene from the front (world X to the right, Y up): every object and node at
/// its world position at the current time, with a line to its link parent. Click, Ctrl+click and
/// rubber-band selection; in the pick-parent mode the cursor is a cross, the node under it is
/// highlighted and a click picks. The view frames the scene only when asked (ResetView), so
/// that nothing moves under the user's eyes while a dialog previews a link.
class CViewport : public QWidget
{
    Q_OBJECT
public:
    /// A name as the view shows it.
    struct CLabel
    {
        UB::CHandle* node = nullptr;
        QRectF rect;
        bool emphasised = false; // the node under the cursor
    };

    explicit CViewport(CSceneModel* scene, QWidget* parent = nullptr);

    /// Where the node is drawn, in widget coordinates.
    QPoint NodePosition(UB::CHandle* node);
    /// The node drawn nearest to `pos` within reach (objects win ties), or null.
    UB::CHandle* NodeAt(const QPoint& pos);
    /// The labels drawn: the node under the cursor, the selection and, where there is room, the
    /// objects; none covers another unless both must show.
    QVector<CLabel> Labels();
    UB::CHandle* HoveredNode() const { return m_hovered; }
    /// Fits the view to the scene anew, for example after another file was opened.
    void ResetView();
    /// A line of text shown at the bottom of the view (the guided tour's commentary).
    void SetCaption(const QString& caption);

    QSize sizeHint() const override;

signals:
    void NodePicked(UB::CHandle* node);
    void PickCancelled();
    void ContextMenuRequested(const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    struct CDrawnNode
    {
        UB::CHandle* node = nullptr;
        UB::CHandle* parent = nullptr;
        QPointF world;
        QPointF screen;
        QPointF axis; // the node's X axis in the view plane, unit length or zero
        bool isObject = false;
        bool structuralLink = false;
        int type = 0;
        QString name;
    };

    void Invalidate();
    void EnsureLayout();
    void FitBounds();
    void PaintHighlight(QPainter& painter, bool picking);
    void PaintLabels(QPainter& painter);
    QFont LabelFont(const CDrawnNode& drawn, bool emphasised) const;
    QPointF ToScreen(const QPointF& world) const;
    void UpdateCursor();
    void SelectClicked(UB::CHandle* node, bool toggle);
    void SelectInRect(const QRect& rect, bool add);

    CSceneModel* m_scene;
    QVector<CDrawnNode> m_drawn;
    QHash<UB::CHandle*, int> m_index;
    bool m_layoutValid = false;
    QRectF m_bounds; // world area the view shows, fitted on ResetView
    bool m_hasBounds = false;
    QRubberBand* m_rubberBand;
    QPoint m_pressPos;
    bool m_pressed = false;
    bool m_dragging = false;
    bool m_pickCancelledByPress = false;
    UB::CHandle* m_hovered = nullptr;
    QString m_caption;
};

} // namespace KV
