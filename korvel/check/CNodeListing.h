#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

class QTreeWidget;
class QTreeWidgetItem;

namespace UB {
class CHandle;
}

namespace KV {

class CHostQueries;

/// The items the link-to-sub-node dialog's tree must hold for a root node, by the sub-node
/// listing rule, in the order the rule makes them. Items are kept flat, in creation order, each
/// with the index of its parent item: the order in which a depth-first walk of the real tree
/// meets them.
class CNodeListing
{
public:
    struct CItem
    {
        QString text;
        /// Null for the "NULL" item of a tree built without a root.
        UB::CHandle* handle = nullptr;
        bool hasHandle = false;
        /// Index of the parent item in the list; -1 for a top-level item.
        int parent = -1;
    };

    explicit CNodeListing(CHostQueries& queries);

    /// The items of a rebuild for `root` in the hierarchy or the list view. A null root gives
    /// the single item "NULL" without a handle.
    QVector<CItem> Build(UB::CHandle* root, bool hierarchyView);

    /// The real tree's items in depth-first order, in the same form.
    static QVector<CItem> Read(const QTreeWidget* tree, QStringList* problems);
    static QList<QTreeWidgetItem*> ItemsInOrder(const QTreeWidget* tree);
    /// The node handle an item carries under Qt::UserRole as a "UBHANDLE" value.
    static UB::CHandle* Handle(const QTreeWidgetItem* item, bool* present, bool* wrongType);

    /// One line per difference between the expected and the real items.
    static QStringList Compare(const QVector<CItem>& expected, const QVector<CItem>& actual);

private:
    void Add(UB::CHandle* node, int parentItem, bool typeSixOnly, bool hierarchyView, int depth);

    CHostQueries& m_queries;
    QVector<CItem> m_items;
};

} // namespace KV
