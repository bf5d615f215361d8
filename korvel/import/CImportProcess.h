#pragma once

#include "KVSceneModel.h"

#include <QByteArray>
#include <QString>
#include <QVector>

#include <functional>

namespace KV {

/// Reads a file through CAssimpImporter in korvel-import, a process of its own: Assimp crashes
/// or never ends on some damaged files, and that must not take the caller with it. The worker
/// writes its answer to standard output in a small binary form (Encode / Decode).
class CImportProcess
{
public:
    static constexpr int kDefaultTimeoutMs = 120000;

    /// `workerPath`: the korvel-import executable; empty: the one beside this application.
    explicit CImportProcess(const QString& workerPath = QString());

    QString WorkerPath() const { return m_worker; }
    void SetTimeout(int milliseconds) { m_timeoutMs = milliseconds; }

    /// Imports `path`. On failure returns false and sets `error` to the file and the reason.
    /// `keepWaiting`, called while the worker reads, stops the import when it returns false.
    bool Run(const QString& path, QVector<CNewNode>& nodes, QString& error,
             const std::function<bool()>& keepWaiting = {});

    /// The worker's answer: the nodes, or the error.
    static QByteArray Encode(bool imported, const QVector<CNewNode>& nodes, const QString& error);
    /// Reads an answer; false when it is not one (`error` then says so) or when it reports an
    /// error (`error` is that error).
    static bool Decode(const QByteArray& answer, QVector<CNewNode>& nodes, QString& error);

private:
    QString m_worker;
    int m_timeoutMs = kDefaultTimeoutMs;
};

} // namespace KV
