#pragma once

#include "CHotKeyMap.h"

#include <QDialog>
#include <QVector>

class QKeySequence;
class QKeySequenceEdit;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace KV {

/// Lists every action the plug-ins registered with the hot-key manager (category path, owner,
/// action, key) and lets the user give each another key. Nothing changes until Commit.
class CHotKeyDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CHotKeyDialog(CHotKeyMap* map, QWidget* parent = nullptr);

    /// Keeps the keys the user changed and gives every action its key.
    void Commit(QWidget* window);

private:
    enum EColumn
    {
        eCategory,
        eOwner,
        eAction,
        eKey,
    };

    void ShowCurrentRow();
    void SetRowKey(const QKeySequence& key, bool isDefault);
    void ShowConflict();

    CHotKeyMap* m_map;
    QVector<CHotKeyMap::CRow> m_rows;
    QTreeWidget* m_table;
    QKeySequenceEdit* m_edit;
    QLabel* m_conflict;
};

} // namespace KV
