// The corrupted scene files korvel-plugincheck offers the scene model (ctest's strictness 5 run
// offers a thousand): every kind of damage is made, and a refusal that names the wrong thing
// is caught.

#include "CSceneFileFuzzer.h"
#include "CSceneGenerator.h"
#include "KVSceneModel.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QSet>

TEST(SceneFileCorruption, TheVariantsCoverEveryKindOfDamageAndAMisnamedErrorIsCaught)
{
    QRandomGenerator random(7);
    KV::CSceneGenerator generator(random);
    const QByteArray file = generator.MakeFile();
    KV::CSceneFileFuzzer fuzzer(random);
    const QStringList kinds = {"truncated",  "flipped bytes", "wrong type",   "the missing node",
                               "in a cycle", "huge number",   "deep nesting", ", then "};
    QSet<QString> seen;
    for (int i = 0; i < 400; ++i) {
        const QString kind = fuzzer.MakeVariant(file).kind;
        for (const QString& wanted : kinds) {
            if (kind.contains(wanted))
                seen.insert(wanted);
        }
    }
    EXPECT_EQ(seen.size(), kinds.size()) << QStringList(seen.values()).join(", ").toStdString();

    // A dangling reference to node 999999: the scene names another node id, so the detector
    // must complain that 999999 is not named, and the open scene stays as it was.
    KV::CSceneModel scene;
    QString error;
    ASSERT_TRUE(scene.LoadJson(file, QStringLiteral("open.json"), &error)) << error.toStdString();
    const QByteArray before = scene.ToJson();
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
