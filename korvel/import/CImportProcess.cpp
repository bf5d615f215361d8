#include "CImportProcess.h"

#include "CAssimpImporter.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>

namespace KV {

namespace {

constexpr quint32 kMagic = 0x4b56494d; // "KVIM"
constexpr quint32 kVersion = 1;
constexpr int kPollMs = 30;

} // namespace

CImportProcess::CImportProcess(const QString& workerPath)
    : m_worker(workerPath)
{
    if (m_worker.isEmpty())
        m_worker =
            QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("korvel-import"));
}

bool CImportProcess::Run(const QString& path, QVector<CNewNode>& nodes, QString& error,
                         const std::function<bool()>& keepWaiting)
{
    nodes.clear();
    if (!CAssimpImporter::CheckFile(path, error))
        return false;
    const QString head = path + QStringLiteral(": ");
    QProcess worker;
    // What Assimp or a crash report prints is not for the user; the answer says what happened.
    worker.setStandardErrorFile(QProcess::nullDevice());
    worker.start(m_worker, {QStringLiteral("--wire"), path}, QIODevice::ReadOnly);
    if (!worker.waitForStarted()) {
        error = head + QStringLiteral("the importer %1 could not be started (%2)")
                           .arg(QDir::toNativeSeparators(m_worker), worker.errorString());
        return false;
    }
    QElapsedTimer clock;
    clock.start();
    while (!worker.waitForFinished(kPollMs)) {
        const bool overdue = clock.elapsed() > m_timeoutMs;
        const bool stopped = keepWaiting && !keepWaiting();
        if (overdue || stopped) {
            worker.kill();
            worker.waitForFinished();
            error = head + (stopped ? QStringLiteral("the import was cancelled")
                                    : QStringLiteral("Assimp did not finish reading this file "
                                                     "within %1 s, so the import was stopped")
                                          .arg(m_timeoutMs / 1000));
            return false;
        }
    }
    if (worker.exitStatus() == QProcess::CrashExit) {
        error = head + QStringLiteral("Assimp crashed while reading this file");
        return false;
    }
    QString answerError;
    if (Decode(worker.readAllStandardOutput(), nodes, answerError))
        return true;
    error = answerError.isEmpty()
                ? head + QStringLiteral("the importer gave no answer (exit code %1)")
                             .arg(worker.exitCode())
                : answerError;
    return false;
}

QByteArray CImportProcess::Encode(bool imported, const QVector<CNewNode>& nodes,
                                  const QString& error)
{
    QByteArray answer;
    QDataStream out(&answer, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_5_15);
    out.setFloatingPointPrecision(QDataStream::SinglePrecision);
    out << kMagic << kVersion << imported;
    if (!imported) {
        out << error;
        return answer;
    }
    out << static_cast<qint32>(nodes.size());
    for (const CNewNode& node : nodes) {
        out << node.desc.name << static_cast<qint32>(node.desc.objectType)
            << static_cast<qint32>(node.desc.nodeKind) << static_cast<qint32>(node.parent);
        for (float value : node.rest.position)
            out << value;
        for (float value : node.rest.rotation)
            out << value;
        for (float value : node.rest.scale)
            out << value;
    }
    return answer;
}

bool CImportProcess::Decode(const QByteArray& answer, QVector<CNewNode>& nodes, QString& error)
{
    nodes.clear();
    QDataStream in(answer);
    in.setVersion(QDataStream::Qt_5_15);
    in.setFloatingPointPrecision(QDataStream::SinglePrecision);
    quint32 magic = 0;
    quint32 version = 0;
    bool imported = false;
    in >> magic >> version >> imported;
    if (in.status() != QDataStream::Ok || magic != kMagic || version != kVersion) {
        error.clear();
        return false;
    }
    if (!imported) {
        in >> error;
        return false;
    }
    qint32 count = 0;
    in >> count;
    // Every node takes at least 56 bytes: a count beyond that is no answer of the worker's.
    if (count < 0 || count > answer.size() / 56) {
        error.clear();
        return false;
    }
    nodes.resize(count);
    for (int i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        CNewNode& node = nodes[i];
        qint32 type = 0, kind = 0, parent = 0;
        in >> node.desc.name >> type >> kind >> parent;
        node.desc.objectType = type;
        node.desc.nodeKind = kind;
        node.parent = parent;
        for (float& value : node.rest.position)
            in >> value;
        for (float& value : node.rest.rotation)
            in >> value;
        for (float& value : node.rest.scale)
            in >> value;
        if (parent < -1 || parent >= i)
            in.setStatus(QDataStream::ReadCorruptData);
    }
    if (in.status() != QDataStream::Ok || !in.atEnd()) {
        nodes.clear();
        error.clear();
        return false;
    }
    return true;
}

} // namespace KV
