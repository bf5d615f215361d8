#include "TreeText.h"

#include <QStringList>
#include <QTreeWidget>

QString DrawTree(QTreeWidget* tree, bool states)
{
    QStringList lines;
    for (QTreeWidgetItemIterator it(tree); *it != nullptr; ++it) {
        const QTreeWidgetItem* item = *it;
        int depth = 0;
        for (const QTreeWidgetItem* parent = item->parent(); parent != nullptr;
             parent = parent->parent())
            ++depth;
        QString line = QString(depth * 2, QLatin1Char(' ')) + item->text(0);
        if (states && item->isHidden())
            line += QStringLiteral(" [hidden]");
        // A childless item looks the same expanded or not.
        if (states && item->childCount() > 0 && !item->isExpanded())
            line += QStringLiteral(" [collapsed]");
        if (states && item->isSelected())
            line += QStringLiteral(" [selected]");
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}
