#include "CNodeListing.h"

#include "CHostQueries.h"

#include <QMetaType>
#include <QTreeWidget>

namespace KV {

namespace {

// Scenes never nest this deep; the bound keeps a host that reports a cycle from running away.
constexpr int kMaxDepth = 256;

QString ItemText(const CNodeListing::CItem& item)
{
    return QLatin1Char('"') + item.text + QLatin1Char('"');
}

} // namespace

CNodeListing::CNodeListing(CHostQueries& queries)
    : m_queries(queries)
{}

QVector<CNodeListing::CItem> CNodeListing::Build(UB::CHandle* root, bool hierarchyView)
{
    m_items.clear();
    if (root == nullptr) {
        m_items.append({QStringLiteral("NULL"), nullptr, false, -1});
        return m_items;
    }
    Add(root, -1, false, hierarchyView, 0);
    return m_items;
}

void CNodeListing::Add(UB::CHandle* node, int parentItem, bool typeSixOnly, bool hierarchyView,
                       int depth)
{
    if (node == nullptr || depth > kMaxDepth)
        return;
    const int kind = m_queries.NodeKind(node);
    if (kind == 4 || kind == 8 || kind == 17)
        return;
    const bool excluded = m_queries.IsSubNodeLinkExcluded(node);
    if (!m_queries.IsLinkableNode(node) && !excluded)
        return;
    const QString name = m_queries.Name(node);
    m_items.append({name.isEmpty() ? QStringLiteral(" - ") : name, node, true, parentItem});
    if (excluded)
        return;
    const int childParent = hierarchyView ? m_items.size() - 1 : -1;

    const QString body = m_queries.StandardName(0);
    const int type = m_queries.ObjectType(node);
    if ((type == 1 || type == 2) && name == body) {
        for (int index : {55, 56, 57}) {
            if (UB::CHandle* grip = m_queries.FindNodeByName(node, m_queries.StandardName(index)))
                Add(grip, childParent, true, hierarchyView, depth + 1);
        }
    }
    HandleList subNodes;
    if (m_queries.SubNodes(node, subNodes).IsFailed())
        return;
    if (subNodes.GetCount() == 1 && m_queries.Name(subNodes[0]) == m_queries.StandardName(58)) {
        UB::CHandle* group = subNodes[0];
        if (m_queries.SubNodes(group, subNodes).IsFailed())
            return;
    }
    const QString gizmos = m_queries.StandardName(59);
    for (UB::CHandle* subNode : qAsConst(subNodes)) {
        const QString subName = m_queries.Name(subNode);
        if (subName == gizmos)
            continue;
        if (typeSixOnly) {
            if (m_queries.ObjectType(subNode) == 6)
                Add(subNode, childParent, false, hierarchyView, depth + 1);
        } else {
            Add(subNode, childParent, subName == m_queries.StandardName(0), hierarchyView,
                depth + 1);
        }
    }
}

UB::CHandle* CNodeListing::Handle(const QTreeWidgetItem* item, bool* present, bool* wrongType)
{
    const QVariant value = item->data(0, Qt::UserRole);
    *present = value.isValid();
    *wrongType = false;
    if (!value.isValid())
        return nullptr;
    if (qstrcmp(QMetaType::typeName(value.userType()), "UBHANDLE") != 0) {
        *wrongType = true;
        return nullptr;
    }
    return *static_cast<UB::CHandle* const*>(value.constData());
}

QList<QTreeWidgetItem*> CNodeListing::ItemsInOrder(const QTreeWidget* tree)
{
    QList<QTreeWidgetItem*> items;
    QList<QTreeWidgetItem*> stack;
    for (int i = tree->topLevelItemCount() - 1; i >= 0; --i)
        stack.append(tree->topLevelItem(i));
    while (!stack.isEmpty()) {
        QTreeWidgetItem* item = stack.takeLast();
        items.append(item);
        for (int i = item->childCount() - 1; i >= 0; --i)
            stack.append(item->child(i));
    }
    return items;
}

QVector<CNodeListing::CItem> CNodeListing::Read(const QTreeWidget* tree, QStringList* problems)
{
    const QList<QTreeWidgetItem*> items = ItemsInOrder(tree);
    QVector<CItem> read;
    read.reserve(items.size());
    for (QTreeWidgetItem* item : items) {
        CItem entry;
        entry.text = item->text(0);
        bool wrongType = false;
        entry.handle = Handle(item, &entry.hasHandle, &wrongType);
        if (wrongType)
            problems->append(QStringLiteral("the tree item \"%1\" carries its node as a %2, not "
                                            "as a UBHANDLE")
                                 .arg(entry.text, QLatin1String(QMetaType::typeName(
                                                      item->data(0, Qt::UserRole).userType()))));
        entry.parent = item->parent() != nullptr ? items.indexOf(item->parent()) : -1;
        read.append(entry);
    }
    return read;
}

QStringList CNodeListing::Compare(const QVector<CItem>& expected, const QVector<CItem>& actual)
{
    QStringList differences;
    const int common = qMin(expected.size(), actual.size());
    for (int i = 0; i < common; ++i) {
        const CItem& want = expected.at(i);
        const CItem& have = actual.at(i);
        if (want.text != have.text || want.hasHandle != have.hasHandle ||
            want.handle != have.handle) {
            differences.append(QStringLiteral("tree item %1 is %2, should be %3")
                                   .arg(i + 1)
                                   .arg(ItemText(have), ItemText(want)));
            break;
        }
        if (want.parent != have.parent) {
            differences.append(
                QStringLiteral("tree item %1 %2 hangs under %3, should hang under %4")
                    .arg(i + 1)
                    .arg(ItemText(have),
                         have.parent < 0 ? QStringLiteral("the top level")
                                         : ItemText(actual.at(have.parent)),
                         want.parent < 0 ? QStringLiteral("the top level")
                                         : ItemText(expected.at(want.parent))));
            break;
        }
    }
    if (differences.isEmpty() && expected.size() != actual.size()) {
        differences.append(
            QStringLiteral("the tree holds %1 items, should hold %2; first difference: %3")
                .arg(actual.size())
                .arg(expected.size())
                .arg(expected.size() > actual.size()
                         ? QStringLiteral("%1 is missing").arg(ItemText(expected.at(common)))
                         : QStringLiteral("%1 is extra").arg(ItemText(actual.at(common)))));
    }
    return differences;
}

} // namespace KV
