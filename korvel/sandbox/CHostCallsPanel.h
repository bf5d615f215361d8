#pragma once

#include <QStringList>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListView;
class QSortFilterProxyModel;
class QStandardItemModel;

namespace UB {
class CHandle;
}

namespace KV {

class CSceneModel;
struct CJournalEntry;

/// A live log of everything that crosses the host boundary: every host call a plug-in makes
/// (the scene's journal), every event the host sends, and what the sandbox itself did. A filter
/// keeps the lines that contain its text.
class CHostCallsPanel : public QWidget
{
    Q_OBJECT
public:
    /// The panel forgets its oldest lines beyond this many.
    static constexpr int kMaximumLines = 20000;

    explicit CHostCallsPanel(CSceneModel* scene, QWidget* parent = nullptr);

    /// Adds a line about something the sandbox did.
    void AppendHostLine(const QString& text);
    /// The lines the filter lets through, oldest first (pending lines included).
    QStringList VisibleLines();
    void SetFilter(const QString& text);
    void Clear();

private:
    void ConnectEvents();
    void AppendCall(const CJournalEntry& entry);
    void AppendEvent(const QString& text);
    void Append(const QString& kind, const QString& text);
    void Flush();
    QString HandleName(UB::CHandle* handle) const;

    CSceneModel* m_scene;
    QStandardItemModel* m_model;
    QSortFilterProxyModel* m_filter;
    QListView* m_view;
    QLineEdit* m_filterEdit;
    QLabel* m_count;
    QStringList m_pendingKinds;
    QStringList m_pendingLines;
    int m_nextNumber = 1;
};

} // namespace KV
