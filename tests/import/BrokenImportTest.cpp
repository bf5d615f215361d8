// Files that cannot be imported are refused with the file and the reason; Assimp crashing or
// hanging on a damaged file costs the worker process, never the caller.

#include "ImportTestSupport.h"

#include "CImportProcess.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

namespace KV::test {

namespace {

QString Write(const QTemporaryDir& dir, const QString& name, const QByteArray& content)
{
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return file.fileName();
}

QByteArray Read(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

} // namespace

TEST(BrokenImportTest, EveryRefusalNamesTheFileAndTheReasonWhateverTheWorkerDid)
{
    QTemporaryDir dir;
    const QString model = Model("BVH/Boxing_Toes.bvh");
    const QByteArray bvh = Read(model);
    const std::pair<QString, const char*> files[] = {
        {dir.filePath(QStringLiteral("missing.fbx")), "the file does not exist"},
        {dir.path(), "a folder"},
        {Write(dir, QStringLiteral("empty.fbx"), QByteArray()), "the file is empty"},
        {Write(dir, QStringLiteral("cut.bvh"), bvh.left(bvh.size() / 3)), "Assimp cannot read"},
        {Model("glTF2/TestNoRootNode/SceneWithoutNodes.gltf"), "the file holds no nodes"},
    };
    for (const auto& [path, reason] : files) {
        SCOPED_TRACE(path.toStdString());
        QVector<CNewNode> nodes;
        QString error;
        EXPECT_FALSE(CAssimpImporter::Import(path, nodes, error));
        EXPECT_TRUE(nodes.isEmpty());
        EXPECT_TRUE(error.startsWith(path + QStringLiteral(": ")) && error.contains(reason))
            << error.toStdString();
    }

    // Shell scripts stand in for korvel-import.
    const struct
    {
        QString worker;
        int timeoutMs;
        bool cancel;
        const char* reason;
    } workers[] = {
        {Write(dir, QStringLiteral("crash"), "#!/bin/sh\nkill -SEGV $$\n"), 5000, false, "crashed"},
        {Write(dir, QStringLiteral("hang"), "#!/bin/sh\nexec sleep 30\n"), 300, false,
         "did not finish"},
        {dir.filePath(QStringLiteral("absent")), 5000, false, "could not be started"},
    };
    for (const auto& c : workers) {
        SCOPED_TRACE(c.worker.toStdString());
        CImportProcess importer(c.worker);
        importer.SetTimeout(c.timeoutMs);
        QVector<CNewNode> nodes;
        QString error;
        EXPECT_FALSE(importer.Run(model, nodes, error, [&] { return !c.cancel; }));
        EXPECT_TRUE(error.startsWith(model + QStringLiteral(": ")) && error.contains(c.reason))
            << error.toStdString();
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
        const QFileInfo model(Model(file));
        for (int copy = 0; copy < KV_DAMAGED_COPIES; ++copy) {
            // Even copies are cut short, odd ones have one to eight bits flipped.
            QByteArray damaged = Read(model.filePath());
            if (copy % 2 == 0)
                damaged.truncate(random.bounded(damaged.size()));
            for (int flips = copy % 2 == 0 ? 0 : 1 + random.bounded(8); flips > 0; --flips)
                damaged.data()[random.bounded(damaged.size())] ^= char(1 << random.bounded(8));
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
                EXPECT_TRUE(error.startsWith(path + QStringLiteral(": ")));
                EXPECT_GT(error.size(), path.size() + 10) << "no reason given";
            }
        }
    }
    EXPECT_GT(refused, 0);
}

} // namespace KV::test
