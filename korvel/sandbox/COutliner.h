#pragma once

#include <QHash>
#include <QIcon>
#include <QSet>
#include <QTreeWidget>
#include <QVector>

namespace UB {
class CHandle;
}

namespace KV {

class CSceneModel;

/// The scene's objects and nodes nested by their link parent at the current time, with type
/// icons. Its selection and the scene's are kept the same both ways; in the pick-parent mode a
/// click picks instead of selecting.
class COutliner : public QTreeWidget
{
    Q_OBJECT
public:
    explicit COutliner(CSceneModel* scene, QWidget* parent = nullptr);
    ~COutliner() override;

    /// Rows this deep or deeper are built collapsed: Qt lays expanded rows out by recursion.
    static constexpr int kMaxExpandedDepth = 10000;

    QTreeWidgetItem* ItemOf(UB::CHandle* node) const { return m_items.value(node, nullptr); }
    /// Rebuilds the tree once control returns to the event loop, however often it is asked.
    void Refresh();
    static UB::CHandle* NodeOf(const QTreeWidgetItem* item);

signals:
    void NodePicked(UB::CHandle* node);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Rebuild();
    /// Empties the tree; Qt would delete a deep chain's items by recursion.
    void DeleteItems();
    void ShowSceneSelection();
    void TakeSelectionToScene();
    QIcon IconOf(int type);

    CSceneModel* m_scene;
    QHash<UB::CHandle*, QTreeWidgetItem*> m_items;
    QSet<UB::CHandle*> m_collapsed;
    QHash<int, QIcon> m_icons;
    bool m_rebuildPending = false;
    int m_deepestLevel = 0;
};

} // namespace KV
