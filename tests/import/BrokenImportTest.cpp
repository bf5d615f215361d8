// Files that cannot be imported are refused with the file and the reason; Assimp crashing or
// hanging on a damaged file costs the worker process, never the caller.

#include "ImportTestSupport.h"

#include "CAssimpImporter.h"
#include "CImportProcess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

namespace KV::test {

namespace {

QString Write(const QTemporaryDir& dir, const QString& name, const QByteArray& content)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    return path;
}

QByteArray Read(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

/// A shell script standing in for korvel-import.
QString FakeWorker(const QTemporaryDir& dir, const QString& name, const QByteArray& body)
{
    const QString path = Write(dir, name, "#!/bin/sh\n" + body + "\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
    return path;
}

} // namespace

TEST(BrokenImportTest, EveryRefusalNamesTheFileAndTheReason)
{
    QTemporaryDir dir;
    const QByteArray bvh = Read(Model(QStringLiteral("BVH/Boxing_Toes.bvh")));
    const struct
    {
        QString path;
        const char* reason;
    } cases[] = {
        {dir.filePath(QStringLiteral("missing.fbx")), "the file does not exist"},
        {dir.path(), "a folder"},
        {Write(dir, QStringLiteral("empty.fbx"), QByteArray()), "the file is empty"},
        {Write(dir, QStringLiteral("cut.bvh"), bvh.left(bvh.size() / 3)), "Assimp cannot read"},
        {Write(dir, QStringLiteral("words.fbx"), "no model in here"), "Assimp cannot read"},
        {Model(QStringLiteral("glTF2/TestNoRootNode/SceneWithoutNodes.gltf")),
         "the file holds no nodes"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        QVector<CNewNode> nodes;
        QString error;
        EXPECT_FALSE(CAssimpImporter::Import(c.path, nodes, error));
        EXPECT_TRUE(nodes.isEmpty());
        EXPECT_TRUE(error.startsWith(c.path + QStringLiteral(": "))) << error.toStdString();
        EXPECT_TRUE(error.contains(QLatin1String(c.reason))) << error.toStdString();
    }
}

TEST(BrokenImportTest, AWorkerThatCrashesHangsIsMissingOrIsCancelledIsReportedNotSuffered)
{
    QTemporaryDir dir;
    const QString model = Model(QStringLiteral("BVH/Boxing_Toes.bvh"));
    const struct
    {
        QString worker;
        int timeoutMs;
        bool cancel;
        const char* reason;
    } cases[] = {
        {FakeWorker(dir, QStringLiteral("crash"), "kill -SEGV $$"), 5000, false, "crashed"},
        {FakeWorker(dir, QStringLiteral("hang"), "exec sleep 30"), 300, false, "did not finish"},
        {FakeWorker(dir, QStringLiteral("mute"), "echo nonsense"), 5000, false, "no answer"},
        {FakeWorker(dir, QStringLiteral("slow"), "exec sleep 30"), 5000, true, "cancelled"},
        {dir.filePath(QStringLiteral("absent")), 5000, false, "could not be started"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.worker.toStdString());
        CImportProcess importer(c.worker);
        importer.SetTimeout(c.timeoutMs);
        QVector<CNewNode> nodes;
        QString error;
        EXPECT_FALSE(importer.Run(model, nodes, error, [&] { return !c.cancel; }));
        EXPECT_TRUE(error.startsWith(model + QStringLiteral(": "))) << error.toStdString();
        EXPECT_TRUE(error.contains(QLatin1String(c.reason))) << error.toStdString();
    }
}

TEST(BrokenImportTest, TruncatedAndBitFlippedCopiesOfRealFilesImportOrAreRefusedByName)
{
    QTemporaryDir dir;
    QRandomGenerator random(18);
    CImportProcess importer(QStringLiteral(KV_IMPORT_WORKER));
    // Collada's XML reader can take very long over a damaged file; that is a refusal too.
    importer.SetTimeout(3000);
    int refused = 0;
    for (const char* file :
         {"BVH/Boxing_Toes.bvh", "FBX/huesitos.fbx", "X/test_cube_binary.x", "X/BCN_Epileptic.X",
          "Collada/duck.dae", "glTF2/BoxTextured-glTF-Binary/BoxTextured.glb"}) {
        const QFileInfo model(Model(QLatin1String(file)));
        for (int copy = 0; copy < KV_DAMAGED_COPIES; ++copy) {
            // Even copies are cut short, odd ones have one to eight bits flipped.
            QByteArray damaged = Read(model.filePath());
            if (copy % 2 == 0)
                damaged.truncate(random.bounded(damaged.size()));
            for (int flips = copy % 2 == 0 ? 0 : 1 + random.bounded(8); flips > 0; --flips) {
                char& byte = damaged.data()[random.bounded(damaged.size())];
                byte = static_cast<char>(byte ^ (1 << random.bounded(8)));
            }
            const QString path = Write(
                dir, QStringLiteral("%1-%2.%3").arg(model.baseName()).arg(copy).arg(model.suffix()),
                damaged);
            SCOPED_TRACE(path.toStdString());
            QVector<CNewNode> nodes;
            QString error;
            if (importer.Run(path, nodes, error)) {
                EXPECT_TRUE(FormsOneObject(nodes));
            } else {
                ++refused;
                EXPECT_TRUE(nodes.isEmpty());
                EXPECT_TRUE(error.startsWith(path + QStringLiteral(": "))) << error.toStdString();
                EXPECT_GT(error.size(), path.size() + 10) << "no reason given";
            }
        }
    }
    EXPECT_GT(refused, 0);
}

} // namespace KV::test
