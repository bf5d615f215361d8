#include "CModifyPanel.h"

#include "host/KVPluginInterface.h"

#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

namespace KV {

CModifyPanel::CModifyPanel(QWidget* parent)
    : QTabWidget(parent)
{
    setObjectName(QStringLiteral("qtModifyPanel"));
    setDocumentMode(true);
}

QScrollArea* CModifyPanel::Page(int tab)
{
    if (QScrollArea* page = m_pages.value(tab, nullptr))
        return page;

    auto* page = new QScrollArea(this);
    page->setObjectName(QStringLiteral("qtModifyPage%1").arg(tab));
    page->setWidgetResizable(true);
    page->setFrameShape(QFrame::NoFrame);
    auto* content = new QWidget(page);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(6);
    layout->addStretch(1);
    page->setWidget(content);

    const int index = static_cast<int>(std::distance(m_pages.begin(), m_pages.lowerBound(tab)));
    insertTab(index, page, tab == 0 ? tr("Attribute") : tr("Tab %1").arg(tab));
    m_pages.insert(tab, page);
    return page;
}

void CModifyPanel::AddSection(CSectionInterface* section, QWidget* widget, int tab, int id)
{
    QScrollArea* page = Page(tab);
    QVector<CEntry>& entries = m_entries[tab];
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [](const CEntry& entry) { return entry.widget.isNull(); }),
                  entries.end());
    int index = 0;
    while (index < entries.size() && entries[index].id <= id)
        ++index;
    entries.insert(index, CEntry{id, section, widget});
    // The page keeps a stretch last; sections go above it in id order.
    static_cast<QVBoxLayout*>(page->widget()->layout())->insertWidget(index, widget);
}

bool CModifyPanel::ShowSection(int tab, int id)
{
    QScrollArea* page = m_pages.value(tab, nullptr);
    if (page == nullptr)
        return false;
    for (const CEntry& entry : m_entries.value(tab)) {
        if (entry.id != id || entry.widget.isNull())
            continue;
        setCurrentWidget(page);
        if (!entry.section->GetSectionExpandState())
            entry.section->SetSectionExpandState(true);
        page->ensureWidgetVisible(entry.widget);
        return true;
    }
    return false;
}

QList<QWidget*> CModifyPanel::SectionWidgets(int tab) const
{
    QList<QWidget*> widgets;
    for (const CEntry& entry : m_entries.value(tab)) {
        if (!entry.widget.isNull())
            widgets.append(entry.widget);
    }
    return widgets;
}

} // namespace KV
