#pragma once

#include <QString>
#include <QStringList>

namespace KV {

/// What the process holds at one moment: heap bytes in use, widgets, actions, open files and
/// threads. Two measurements tell whether a repeated piece of work leaves anything behind.
struct CProcessUsage
{
    long long heapBytes = 0;
    int widgets = 0;
    int actions = 0;
    int openFiles = 0;
    int threads = 0;

    static CProcessUsage Measure();

    /// One line per kind that grew from `earlier` to this measurement; heap growth up to
    /// `heapSlack` bytes is allowed for Qt's own caches settling.
    QStringList GrowthSince(const CProcessUsage& earlier, long long heapSlack) const;
    QString ToString() const;
};

} // namespace KV
