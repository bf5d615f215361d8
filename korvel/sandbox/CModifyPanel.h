#pragma once

#include <QMap>
#include <QPointer>
#include <QTabWidget>
#include <QVector>

class QScrollArea;
class QVBoxLayout;

namespace KV {

class CSectionInterface;

/// The Modify panel (panel 4): one page per tab, each holding its sections top to bottom in the
/// order of their section ids, whoever made them.
class CModifyPanel : public QTabWidget
{
    Q_OBJECT
public:
    static constexpr int kPanelId = 4;

    explicit CModifyPanel(QWidget* parent = nullptr);

    /// Places `widget`, the widget of `section`, on page `tab` among the others by `id`.
    void AddSection(CSectionInterface* section, QWidget* widget, int tab, int id);
    /// Switches to the section's page, expands it and scrolls it into view. False when the panel
    /// has no such section.
    bool ShowSection(int tab, int id);
    /// The section widgets of a page, top to bottom.
    QList<QWidget*> SectionWidgets(int tab) const;

private:
    struct CEntry
    {
        int id = 0;
        CSectionInterface* section = nullptr;
        QPointer<QWidget> widget;
    };

    QScrollArea* Page(int tab);

    QMap<int, QScrollArea*> m_pages;
    QMap<int, QVector<CEntry>> m_entries;
};

} // namespace KV
