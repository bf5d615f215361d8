// Corrupted scene files: each loads, or is refused with an error that names the file, the
// object and the problem, and a refused one leaves the open scene exactly as it was.

#include "CSceneFileFuzzer.h"
#include "CSceneGenerator.h"
#include "KVSceneModel.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QSet>

TEST(SceneFileCorruption, EveryVariantLoadsOrIsRefusedByNameAndLeavesTheOpenSceneAlone)
{
    // KV_SCENE_FILE_VARIANTS is 10,000 in the default build and 500 under the sanitizers.
    const QStringList problems = KV::CSceneFileFuzzer::Run(20240611u, KV_SCENE_FILE_VARIANTS);

    EXPECT_TRUE(problems.isEmpty()) << problems.size() << " variants handled wrongly, first:\n"
                                    << problems.mid(0, 20).join(QLatin1Char('\n')).toStdString();
}

TEST(SceneFileCorruption, TheVariantsCoverEveryKindOfDamage)
{
    QRandomGenerator random(7);
    KV::CSceneGenerator generator(random);
    const QByteArray file = generator.MakeFile();
    KV::CSceneFileFuzzer fuzzer(random);
    const QStringList kinds = {QStringLiteral("truncated"),    QStringLiteral("flipped bytes"),
                               QStringLiteral("wrong type"),   QStringLiteral("the missing node"),
                               QStringLiteral("in a cycle"),   QStringLiteral("huge number"),
                               QStringLiteral("deep nesting"), QStringLiteral(", then ")};
    QSet<QString> seen;
    for (int i = 0; i < 400; ++i) {
        const QString kind = fuzzer.MakeVariant(file).kind;
        for (const QString& wanted : kinds) {
            if (kind.contains(wanted))
                seen.insert(wanted);
        }
    }
    for (const QString& wanted : kinds)
        EXPECT_TRUE(seen.contains(wanted)) << wanted.toStdString();
}

TEST(SceneFileCorruption, AnErrorThatNamesTheWrongThingIsCaught)
{
    QRandomGenerator random(11);
    KV::CSceneGenerator generator(random);
    KV::CSceneModel scene;
    QString error;
    ASSERT_TRUE(scene.LoadJson(generator.MakeFile(), QStringLiteral("open.json"), &error))
        << error.toStdString();
    const QByteArray before = scene.ToJson();

    // A dangling reference to node 999999: the scene names another node id, so the detector
    // must complain that 999999 is not named.
    KV::CSceneFileFuzzer::CVariant variant;
    variant.data = R"({"format": "korvel-scene", "version": 1, "nodes": [
                        {"id": 1, "name": "A", "parent": 2}]})";
    variant.kind = QStringLiteral("test");
    variant.mustMention = QStringLiteral("999999");

    const QStringList problems =
        KV::CSceneFileFuzzer::Offer(scene, variant, QStringLiteral("t.json"));

    ASSERT_EQ(problems.size(), 1) << problems.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(
        problems.constFirst().startsWith(QLatin1String("the error does not name node 999999")))
        << problems.constFirst().toStdString();
    EXPECT_EQ(scene.ToJson(), before);
}
