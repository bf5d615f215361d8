#include "CSceneSnapshot.h"

#include <QList>

namespace KV {

bool CSceneSnapshot::operator==(const CSceneSnapshot& other) const
{
    return file == other.file && undoCount == other.undoCount && undoIndex == other.undoIndex &&
           modified == other.modified;
}

QString DescribeDifference(const CSceneSnapshot& before, const CSceneSnapshot& after)
{
    QStringList differences;
    if (before.file != after.file) {
        const QList<QByteArray> was = before.file.split('\n');
        const QList<QByteArray> now = after.file.split('\n');
        int line = 0;
        while (line < was.size() && line < now.size() && was.at(line) == now.at(line))
            ++line;
        // A few lines above the first difference name the node it belongs to.
        const int from = qMax(0, line - 6);
        QString context;
        for (int i = from; i < line; ++i)
            context += QStringLiteral("   ") + QString::fromUtf8(was.at(i)).trimmed() + '\n';
        differences << QStringLiteral("the scene file differs from line %1:\n%2 - %3\n + %4")
                           .arg(line + 1)
                           .arg(context)
                           .arg(line < was.size() ? QString::fromUtf8(was.at(line)).trimmed()
                                                  : QStringLiteral("(end)"))
                           .arg(line < now.size() ? QString::fromUtf8(now.at(line)).trimmed()
                                                  : QStringLiteral("(end)"));
    }
    if (before.undoCount != after.undoCount || before.undoIndex != after.undoIndex) {
        differences << QStringLiteral("undo history: %1 steps at %2, now %3 steps at %4")
                           .arg(before.undoCount)
                           .arg(before.undoIndex)
                           .arg(after.undoCount)
                           .arg(after.undoIndex);
    }
    if (before.modified != after.modified) {
        differences << QStringLiteral("modified: was %1, now %2")
                           .arg(before.modified ? "yes" : "no", after.modified ? "yes" : "no");
    }
    return differences.join('\n');
}

} // namespace KV
