#include "CProcessUsage.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QWidget>

#if defined(__SANITIZE_ADDRESS__)
#include <cstddef>
// Exported by the AddressSanitizer run-time; GCC ships no header that declares it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace KV {

namespace {

long long HeapBytes()
{
#if defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer replaces the allocator, so glibc's figures would stay flat.
    return static_cast<long long>(__sanitizer_get_current_allocated_bytes());
#else
    const struct mallinfo2 info = mallinfo2();
    return static_cast<long long>(info.uordblks + info.hblkhd);
#endif
}

int Threads()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("Threads:"))
            return line.mid(8).trimmed().toInt();
    }
    return 0;
}

int Actions()
{
    int count = qApp->findChildren<QAction*>().size();
    for (QWidget* window : QApplication::topLevelWidgets())
        count += window->findChildren<QAction*>().size();
    return count;
}

} // namespace

CProcessUsage CProcessUsage::Measure()
{
    CProcessUsage usage;
    usage.heapBytes = HeapBytes();
    usage.widgets = QApplication::allWidgets().size();
    usage.actions = Actions();
    usage.openFiles = static_cast<int>(QDir(QStringLiteral("/proc/self/fd"))
                                           .entryList(QDir::AllEntries | QDir::NoDotAndDotDot)
                                           .size());
    usage.threads = Threads();
    return usage;
}

QStringList CProcessUsage::GrowthSince(const CProcessUsage& earlier, long long heapSlack) const
{
    QStringList growth;
    if (heapBytes > earlier.heapBytes + heapSlack)
        growth.append(
            QStringLiteral("the heap grew by %1 bytes").arg(heapBytes - earlier.heapBytes));
    const std::pair<const char*, int> counts[] = {{"widgets", widgets - earlier.widgets},
                                                  {"actions", actions - earlier.actions},
                                                  {"open files", openFiles - earlier.openFiles},
                                                  {"threads", threads - earlier.threads}};
    for (const auto& count : counts) {
        if (count.second > 0)
            growth.append(
                QStringLiteral("%1 more %2").arg(count.second).arg(QLatin1String(count.first)));
    }
    return growth;
}

QString CProcessUsage::ToString() const
{
    return QStringLiteral("%1 heap bytes, %2 widgets, %3 actions, %4 open files, %5 threads")
        .arg(heapBytes)
        .arg(widgets)
        .arg(actions)
        .arg(openFiles)
        .arg(threads);
}

} // namespace KV
