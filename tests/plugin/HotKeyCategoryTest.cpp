// The hot-key category texts go through the translation system in the "QObject" context, with
// the disambiguations the host's translators know them by: Big5 bytes.

#include "PluginHostTest.h"
#include "support/QtPrinters.h"

#include <QCoreApplication>
#include <QTextCodec>
#include <QTranslator>

namespace {

struct TranslationRequest
{
    QByteArray context;
    QByteArray source;
    QByteArray disambiguation;
};

// Records what it is asked for in the "QObject" context and answers with a marked text, so
// that the host can be seen to receive the translation.
class RecordingTranslator : public QTranslator
{
public:
    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int) const override
    {
        if (qstrcmp(context, "QObject") != 0)
            return QString();
        requests.append({context, sourceText, disambiguation});
        return QStringLiteral("<%1>").arg(QLatin1String(sourceText));
    }
    bool isEmpty() const override { return false; }

    mutable QVector<TranslationRequest> requests;
};

QByteArray Big5(const char* utf8)
{
    QTextCodec* codec = QTextCodec::codecForName("Big5");
    return codec ? codec->fromUnicode(QString::fromUtf8(utf8)) : QByteArray("no Big5 codec");
}

class HotKeyCategory : public PluginHostTest
{
protected:
    void SetUp() override
    {
        PluginHostTest::SetUp();
        QCoreApplication::installTranslator(&translator);
    }
    void TearDown() override
    {
        QCoreApplication::removeTranslator(&translator);
        PluginHostTest::TearDown();
    }

    RecordingTranslator translator;
};

TEST_F(HotKeyCategory, TextsAreTranslatedWithBig5DisambiguationsAndHandedToTheHost)
{
    ASSERT_EQ(InitializeFromPluginFolder(), UB::kOk);

    const QVector<TranslationRequest> expectedOnce = {
        {"QObject", "[Hot Key] Modify", Big5("Modify Panel hot key在Hot Key Manager顯示的名稱")},
        {"QObject", "[Hot Key] Attribute",
         Big5("Attribute tab hot key在Hot Key Manager顯示的名稱")},
        {"QObject", "[Hot Key] Linkage",
         Big5("Linkage section hot key在Hot Key Manager顯示的名稱")},
    };
    // Once for the plug-in's category, once for the section's.
    ASSERT_EQ(translator.requests.size(), 6);
    for (int i = 0; i < 6; ++i) {
        const TranslationRequest& expected = expectedOnce[i % 3];
        const TranslationRequest& actual = translator.requests[i];
        EXPECT_EQ(actual.context, expected.context) << i;
        EXPECT_EQ(actual.source, expected.source) << i;
        EXPECT_EQ(actual.disambiguation.toHex(' '), expected.disambiguation.toHex(' ')) << i;
    }

    const QStringList translatedPath = {QStringLiteral("<[Hot Key] Modify>"),
                                        QStringLiteral("<[Hot Key] Attribute>"),
                                        QStringLiteral("<[Hot Key] Linkage>")};
    ASSERT_EQ(scene->HotKeyCategories().size(), 2);
    EXPECT_EQ(scene->HotKeyCategories()[0].path, translatedPath);
    EXPECT_EQ(scene->HotKeyCategories()[1].path, translatedPath);
}

} // namespace
