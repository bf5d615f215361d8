#include "CHotKeyDialog.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace KV {

namespace {

constexpr int kFollowsDefaultRole = Qt::UserRole;
constexpr int kChangedRole = Qt::UserRole + 1;
const QString kLevelSeparator = QStringLiteral(" / ");

/// The "[Tag] " that every level of every category path starts with, if they share one.
QString CommonTag(const QVector<CHotKeyMap::CRow>& rows)
{
    QString tag;
    for (const CHotKeyMap::CRow& row : rows) {
        for (const QString& level : row.category.split(kLevelSeparator)) {
            const int end = level.indexOf(QLatin1String("] "));
            const QString own =
                level.startsWith(QLatin1Char('[')) && end > 0 ? level.left(end + 2) : QString();
            if (own.isEmpty() || (!tag.isEmpty() && own != tag))
                return QString();
            tag = own;
        }
    }
    return tag;
}

/// The category path without the shared tag: "Modify › Attribute › Linkage".
QString CategoryText(const QString& category, const QString& tag)
{
    QStringList levels = category.split(kLevelSeparator);
    for (QString& level : levels)
        level.remove(0, tag.size());
    return levels.join(QStringLiteral(" › "));
}

} // namespace

CHotKeyDialog::CHotKeyDialog(CHotKeyMap* map, QWidget* parent)
    : QDialog(parent)
    , m_map(map)
    , m_rows(map->Rows())
    , m_table(new QTreeWidget(this))
    , m_edit(new QKeySequenceEdit(this))
    , m_conflict(new QLabel(this))
{
    setObjectName(QStringLiteral("qtHotKeyDialog"));
    setWindowTitle(tr("Hot Keys"));
    m_table->setObjectName(QStringLiteral("qtHotKeyTable"));
    m_table->setRootIsDecorated(false);
    m_table->setHeaderLabels({tr("Category"), tr("Owner"), tr("Action"), tr("Key")});
    // The Action column gives way; the key, what the dialog is about, always shows whole.
    m_table->header()->setStretchLastSection(false);
    m_table->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->header()->setSectionResizeMode(eAction, QHeaderView::Stretch);
    m_edit->setObjectName(QStringLiteral("qtHotKeyEdit"));
    m_conflict->setObjectName(QStringLiteral("qtHotKeyConflict"));
    m_conflict->setStyleSheet(QStringLiteral("color: #b3261e"));
    auto* reset = new QPushButton(tr("Default"), this);
    reset->setObjectName(QStringLiteral("qtHotKeyDefault"));
    auto* none = new QPushButton(tr("No Key"), this);
    none->setObjectName(QStringLiteral("qtHotKeyNone"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("qtHotKeyButtons"));

    const QString tag = CommonTag(m_rows);
    for (const CHotKeyMap::CRow& row : m_rows) {
        const QString name = row.action->objectName();
        auto* item = new QTreeWidgetItem(m_table);
        item->setText(eCategory, CategoryText(row.category, tag));
        item->setToolTip(eCategory, row.category);
        item->setText(eOwner, row.owner);
        item->setText(eAction, row.action->text().remove(QLatin1Char('&')));
        item->setToolTip(eAction, name);
        item->setText(eKey, m_map->Key(row.owner, name).toString(QKeySequence::NativeText));
        item->setData(eKey, kFollowsDefaultRole, false);
        item->setData(eKey, kChangedRole, false);
    }

    auto* editRow = new QHBoxLayout;
    editRow->addWidget(new QLabel(tr("Key:"), this));
    editRow->addWidget(m_edit, 1);
    editRow->addWidget(reset);
    editRow->addWidget(none);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table, 1);
    layout->addLayout(editRow);
    layout->addWidget(m_conflict);
    layout->addWidget(buttons);
    int wide = 2 * m_table->frameWidth() + m_table->verticalScrollBar()->sizeHint().width() +
               layout->contentsMargins().left() + layout->contentsMargins().right();
    m_table->header()->resizeSections(QHeaderView::ResizeToContents);
    for (int column = eCategory; column <= eKey; ++column)
        wide += m_table->header()->sectionSize(column);
    resize(std::max(720, wide), 360);

    connect(m_table, &QTreeWidget::currentItemChanged, this, &CHotKeyDialog::ShowCurrentRow);
    connect(m_edit, &QKeySequenceEdit::keySequenceChanged, this,
            [this](const QKeySequence& key) { SetRowKey(key, false); });
    connect(reset, &QPushButton::clicked, this, [this] {
        const int row = m_table->indexOfTopLevelItem(m_table->currentItem());
        if (row >= 0 && !m_rows[row].action.isNull())
            SetRowKey(m_map->DefaultKey(m_rows[row].owner, m_rows[row].action->objectName()), true);
    });
    connect(none, &QPushButton::clicked, this, [this] { SetRowKey(QKeySequence(), false); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    if (m_table->topLevelItemCount() > 0)
        m_table->setCurrentItem(m_table->topLevelItem(0));
    ShowCurrentRow();
}

void CHotKeyDialog::ShowCurrentRow()
{
    QTreeWidgetItem* item = m_table->currentItem();
    m_edit->setEnabled(item != nullptr);
    const QSignalBlocker blocker(m_edit);
    m_edit->setKeySequence(item != nullptr
                               ? QKeySequence(item->text(eKey), QKeySequence::NativeText)
                               : QKeySequence());
    ShowConflict();
}

void CHotKeyDialog::SetRowKey(const QKeySequence& key, bool isDefault)
{
    QTreeWidgetItem* item = m_table->currentItem();
    if (item == nullptr)
        return;
    item->setText(eKey, key.toString(QKeySequence::NativeText));
    item->setData(eKey, kFollowsDefaultRole, isDefault);
    item->setData(eKey, kChangedRole, true);
    if (m_edit->keySequence() != key) {
        const QSignalBlocker blocker(m_edit);
        m_edit->setKeySequence(key);
    }
    ShowConflict();
}

void CHotKeyDialog::ShowConflict()
{
    QTreeWidgetItem* current = m_table->currentItem();
    QStringList others;
    if (current != nullptr && !current->text(eKey).isEmpty()) {
        for (int i = 0; i < m_table->topLevelItemCount(); ++i) {
            QTreeWidgetItem* item = m_table->topLevelItem(i);
            if (item != current && item->text(eKey) == current->text(eKey))
                others << QStringLiteral("%1 (%2)").arg(item->text(eAction), item->text(eOwner));
        }
    }
    m_conflict->setText(others.isEmpty()
                            ? QString()
                            : tr("%1 is also the key of %2; neither will work while both have it.")
                                  .arg(current->text(eKey), others.join(QStringLiteral(", "))));
}

void CHotKeyDialog::Commit(QWidget* window)
{
    for (int i = 0; i < m_rows.size(); ++i) {
        QTreeWidgetItem* item = m_table->topLevelItem(i);
        const CHotKeyMap::CRow& row = m_rows[i];
        if (row.action.isNull() || !item->data(eKey, kChangedRole).toBool())
            continue;
        if (item->data(eKey, kFollowsDefaultRole).toBool())
            m_map->ClearUserKey(row.owner, row.action->objectName());
        else
            m_map->SetUserKey(row.owner, row.action->objectName(),
                              QKeySequence(item->text(eKey), QKeySequence::NativeText));
    }
    m_map->Apply(window);
}

} // namespace KV
