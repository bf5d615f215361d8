#include "CHostCallsPanel.h"

#include "KVSceneModel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace KV {

namespace {

const QString kCall = QStringLiteral("call");
const QString kEvent = QStringLiteral("event");
const QString kHost = QStringLiteral("host");

} // namespace

CHostCallsPanel::CHostCallsPanel(CSceneModel* scene, QWidget* parent)
    : QWidget(parent)
    , m_scene(scene)
    , m_model(new QStandardItemModel(this))
    , m_filter(new QSortFilterProxyModel(this))
    , m_view(new QListView(this))
    , m_filterEdit(new QLineEdit(this))
    , m_count(new QLabel(this))
{
    setObjectName(QStringLiteral("qtHostCallsPanel"));
    m_filter->setSourceModel(m_model);
    m_filter->setFilterCaseSensitivity(Qt::CaseInsensitive);
    m_view->setObjectName(QStringLiteral("qtHostCallsView"));
    m_view->setModel(m_filter);
    m_view->setUniformItemSizes(true);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    QFont mono(QStringLiteral("Monospace"));
    mono.setStyleHint(QFont::TypeWriter);
    m_view->setFont(mono);
    m_filterEdit->setObjectName(QStringLiteral("qtHostCallsFilter"));
    m_filterEdit->setPlaceholderText(tr("Filter: LinkObjects, event, Sword…"));
    m_filterEdit->setClearButtonEnabled(true);
    m_count->setObjectName(QStringLiteral("qtHostCallsCount"));
    auto* clear = new QToolButton(this);
    clear->setObjectName(QStringLiteral("qtHostCallsClear"));
    clear->setText(tr("Clear"));

    auto* bar = new QHBoxLayout;
    bar->addWidget(m_filterEdit, 1);
    bar->addWidget(m_count);
    bar->addWidget(clear);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addLayout(bar);
    layout->addWidget(m_view, 1);

    connect(m_filterEdit, &QLineEdit::textChanged, this, &CHostCallsPanel::SetFilter);
    connect(clear, &QToolButton::clicked, this, &CHostCallsPanel::Clear);
    connect(m_scene, &CSceneModel::JournalAppended, this, &CHostCallsPanel::AppendCall);
    ConnectEvents();
    m_count->setText(tr("0 lines"));
}

void CHostCallsPanel::ConnectEvents()
{
    CEventSender* events = m_scene->EventSender();
    connect(events, &CEventSender::PickedModeChanged, this,
            [this](EPickMode newMode, EPickMode oldMode) {
                AppendEvent(QStringLiteral("PickedModeChanged(%1, %2)").arg(newMode).arg(oldMode));
            });
    connect(events, &CEventSender::FileLoaded, this,
            [this](EFileType type) { AppendEvent(QStringLiteral("FileLoaded(%1)").arg(type)); });
    connect(events, &CEventSender::ObjectSelectionChanged, this,
            [this] { AppendEvent(QStringLiteral("ObjectSelectionChanged()")); });
    connect(events, &CEventSender::ObjectDeleted, this, [this](UB::CArrayList<UB::CHandle*> nodes) {
        QStringList names;
        for (UB::CHandle* node : nodes)
            names << HandleName(node);
        AppendEvent(QStringLiteral("ObjectDeleted([%1])").arg(names.join(QStringLiteral(", "))));
    });
    connect(events, &CEventSender::DialogModeChanged, this, [this](EDialogMode mode) {
        AppendEvent(QStringLiteral("DialogModeChanged(%1)").arg(mode));
    });
    connect(events, &CEventSender::HierarchyChanged, this,
            [this] { AppendEvent(QStringLiteral("HierarchyChanged()")); });
    connect(events, &CEventSender::ObjectDataChanged, this,
            [this](UB::CArrayList<UB::CHandle*> nodes, EObjectChangedDataType type) {
                QStringList names;
                for (UB::CHandle* node : nodes)
                    names << HandleName(node);
                AppendEvent(QStringLiteral("ObjectDataChanged([%1], %2)")
                                .arg(names.join(QStringLiteral(", ")))
                                .arg(type));
            });
    connect(events, &CEventSender::ObjectDataChanged2, this, [this](CBaseEvent* event) {
        const QString name = event != nullptr ? QString::fromStdString(event->GetClassInfo()->name)
                                              : QStringLiteral("null");
        AppendEvent(QStringLiteral("ObjectDataChanged2(%1)").arg(name));
    });
    connect(events, &CEventSender::CurrentTimeChanged, this, [this](UBTime time) {
        AppendEvent(QStringLiteral("CurrentTimeChanged(%1)").arg(time));
    });
    connect(events, &CEventSender::Played, this,
            [this] { AppendEvent(QStringLiteral("Played()")); });
    connect(events, &CEventSender::Stopped, this,
            [this] { AppendEvent(QStringLiteral("Stopped()")); });
}

void CHostCallsPanel::AppendHostLine(const QString& text)
{
    Append(kHost, text);
}

void CHostCallsPanel::AppendCall(const CJournalEntry& entry)
{
    Append(kCall, entry.ToString());
}

void CHostCallsPanel::AppendEvent(const QString& text)
{
    Append(kEvent, text);
}

void CHostCallsPanel::Append(const QString& kind, const QString& text)
{
    // A refresh makes dozens of calls at once; the view takes them in one batch.
    if (m_pendingLines.isEmpty())
        QTimer::singleShot(30, this, &CHostCallsPanel::Flush);
    m_pendingKinds.append(kind);
    m_pendingLines.append(
        QStringLiteral("%1  %2  %3").arg(m_nextNumber++, 6).arg(kind, -5).arg(text));
}

void CHostCallsPanel::Flush()
{
    if (m_pendingLines.isEmpty())
        return;
    QScrollBar* scroll = m_view->verticalScrollBar();
    const bool atEnd = scroll->value() == scroll->maximum();
    QList<QStandardItem*> items;
    items.reserve(m_pendingLines.size());
    for (int i = 0; i < m_pendingLines.size(); ++i) {
        auto* item = new QStandardItem(m_pendingLines[i]);
        if (m_pendingKinds[i] == kEvent)
            item->setForeground(QColor(0x1f, 0x6f, 0xc5));
        else if (m_pendingKinds[i] == kHost)
            item->setForeground(QColor(0x2e, 0x8b, 0x3e));
        items.append(item);
    }
    m_pendingLines.clear();
    m_pendingKinds.clear();
    m_model->invisibleRootItem()->appendRows(items);
    const int excess = m_model->rowCount() - kMaximumLines;
    if (excess > 0)
        m_model->removeRows(0, excess);
    m_count->setText(tr("%n line(s)", nullptr, m_model->rowCount()));
    if (atEnd)
        m_view->scrollToBottom();
}

QStringList CHostCallsPanel::VisibleLines()
{
    Flush();
    QStringList lines;
    lines.reserve(m_filter->rowCount());
    for (int row = 0; row < m_filter->rowCount(); ++row)
        lines.append(m_filter->index(row, 0).data().toString());
    return lines;
}

void CHostCallsPanel::SetFilter(const QString& text)
{
    if (m_filterEdit->text() != text)
        m_filterEdit->setText(text); // comes back here through textChanged
    else
        m_filter->setFilterFixedString(text);
}

void CHostCallsPanel::Clear()
{
    m_pendingLines.clear();
    m_pendingKinds.clear();
    m_model->clear();
    m_count->setText(tr("0 lines"));
}

QString CHostCallsPanel::HandleName(UB::CHandle* handle) const
{
    if (handle == nullptr)
        return QStringLiteral("null");
    return m_scene->Contains(handle) ? m_scene->Name(handle) : QStringLiteral("(deleted)");
}

} // namespace KV
