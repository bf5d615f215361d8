#include "CDockSizer.h"

#include <QDockWidget>
#include <QEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QTimer>

namespace KV {

CDockSizer::CDockSizer(QMainWindow* window)
    : QObject(window)
    , m_window(window)
{
    m_window->installEventFilter(this);
}

void CDockSizer::Keep(QDockWidget* dock, Qt::Orientation orientation, int size)
{
    m_entries.append({dock, orientation, size});
    dock->installEventFilter(this);
    m_window->resizeDocks({dock}, {size}, orientation);
}

bool CDockSizer::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Resize)
        return false;
    if (watched == m_window) {
        // The window's layout squeezes the docks next; once it has, they get their room back.
        if (!m_windowChanging) {
            m_windowChanging = true;
            QTimer::singleShot(0, this, &CDockSizer::Restore);
        }
        return false;
    }
    // A docked panel that changes size while the mouse button is held is being dragged by its
    // edge: the user's size from now on.
    if (m_windowChanging || !QGuiApplication::mouseButtons().testFlag(Qt::LeftButton))
        return false;
    for (CEntry& entry : m_entries) {
        if (entry.dock == watched && !entry.dock->isFloating() && entry.dock->isVisible())
            entry.size = Extent(entry);
    }
    return false;
}

void CDockSizer::Restore()
{
    for (Qt::Orientation orientation : {Qt::Horizontal, Qt::Vertical}) {
        QList<QDockWidget*> docks;
        QList<int> sizes;
        for (const CEntry& entry : m_entries) {
            if (entry.orientation == orientation && !entry.dock.isNull() &&
                entry.dock->isVisible() && !entry.dock->isFloating() &&
                Extent(entry) != entry.size) {
                docks << entry.dock;
                sizes << entry.size;
            }
        }
        if (!docks.isEmpty())
            m_window->resizeDocks(docks, sizes, orientation);
    }
    m_windowChanging = false;
}

int CDockSizer::Extent(const CEntry& entry)
{
    return entry.orientation == Qt::Horizontal ? entry.dock->width() : entry.dock->height();
}

} // namespace KV
