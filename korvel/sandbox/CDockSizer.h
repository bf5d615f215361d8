#pragma once

#include <QObject>
#include <QPointer>
#include <QVector>

class QDockWidget;
class QMainWindow;

namespace KV {

/// Gives the main window's docks back their room when the window grows: QMainWindow takes room
/// from the docks when the window shrinks and never returns it, which leaves the outliner
/// clipped. Each dock keeps the size it was given or the user last dragged it to, as far as
/// the window has room for it.
class CDockSizer : public QObject
{
public:
    explicit CDockSizer(QMainWindow* window);

    /// Keeps `dock` at `size` pixels across (Qt::Horizontal) or high (Qt::Vertical).
    void Keep(QDockWidget* dock, Qt::Orientation orientation, int size);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct CEntry
    {
        QPointer<QDockWidget> dock;
        Qt::Orientation orientation;
        int size;
    };

    void Restore();
    static int Extent(const CEntry& entry);

    QMainWindow* m_window;
    QVector<CEntry> m_entries;
    bool m_windowChanging = false;
};

} // namespace KV
