#include "TestResource.h"
#include "support/MessageRecorder.h"

#include "host/KVAbstractPlugin.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <memory>

namespace {

const QString kResourceDir = TestResourceDir();
const QString kResourceFile = TestResourceFile();
const QString kSectionLayout = QStringLiteral(":/test/framework/TestSection.ui");

// The least plug-in the framework accepts: its resource handling is what is under test.
class CTestPlugin : public KV::CAbstractPlugin
{
public:
    UB::Result Initialize(const QString& first, const QString& second,
                          KV::CKorvelInterface* host) override
    {
        return InitResource(first, kResourceFile, second, host);
    }
    UB::Result GetDockWidgetList(QList<QDockWidget*>&) override { return UB::kOk; }
    UB::Result GetStatusBarWidgetList(QList<QWidget*>&) override { return UB::kOk; }
    UB::Result GetSectionList(QList<KV::CSectionInterface*>&) override { return UB::kOk; }
    UB::Result GetContextList(QList<QAction*>&) override { return UB::kOk; }
    UB::Result GetMenusList(QList<QMenu*>&) override { return UB::kOk; }
    UB::Result GetToolBarsList(QList<QToolBar*>&) override { return UB::kOk; }
    KV::ECompatibleApp GetCompatibleApps() override { return KV::eAppAll; }
};

} // namespace

TEST(InitResource, RegistersTheFileBesideThePluginUntilThePluginDies)
{
    ASSERT_FALSE(QFile::exists(kSectionLayout));
    auto plugin = std::make_unique<CTestPlugin>();

    EXPECT_EQ(plugin->Initialize(kResourceDir, QStringLiteral("dark"), nullptr), UB::kOk);

    EXPECT_TRUE(QFile::exists(kSectionLayout));
    EXPECT_TRUE(QFile::exists(QStringLiteral(":/test/framework/TestLayout.ini")));
    EXPECT_EQ(plugin->GetResourcePath(), QDir(kResourceDir).absoluteFilePath(kResourceFile));
    EXPECT_EQ(plugin->m_firstText, kResourceDir);
    EXPECT_EQ(plugin->m_furtherText, QStringLiteral("dark"));

    // Registering the same file again changes nothing, and it still goes away only once.
    EXPECT_EQ(plugin->Initialize(kResourceDir, QStringLiteral("dark"), nullptr), UB::kOk);
    plugin.reset();
    EXPECT_FALSE(QFile::exists(kSectionLayout));
}

TEST(InitResource, MissingOrForeignFileFailsWithAWarningNamingThePath)
{
    struct Case
    {
        QString folder;
        QString file;
    };
    const Case cases[] = {
        {kResourceDir, QStringLiteral("Absent.rcc")},
        {QStringLiteral("/nonexistent/plugins"), kResourceFile},
        {QStringLiteral(KV_TEST_DATA_DIR), QStringLiteral("NotAResource.rcc")},
        {kResourceDir, QString()},
    };
    for (const Case& c : cases) {
        const QString path = QDir(c.folder).filePath(c.file);
        CTestPlugin plugin;
        CMessageRecorder messages;

        const UB::Result result = plugin.InitResource(c.folder, c.file, QString(), nullptr);

        EXPECT_TRUE(result.IsFailed()) << qPrintable(path);
        EXPECT_EQ(result, KV::CAbstractPlugin::kResourceNotLoaded);
        EXPECT_EQ(messages.GetWarningsWith(path).size(), 1)
            << qPrintable(path) << ": " << qPrintable(messages.GetWarnings().join('|'));
        EXPECT_TRUE(plugin.GetResourcePath().isEmpty());
        EXPECT_FALSE(QFile::exists(kSectionLayout));
    }
}

TEST(InitResource, FailedSecondCallKeepsTheFirstRegistration)
{
    CTestPlugin plugin;
    ASSERT_EQ(plugin.InitResource(kResourceDir, kResourceFile, QString(), nullptr), UB::kOk);
    CMessageRecorder messages;

    EXPECT_TRUE(plugin.InitResource(kResourceDir, QStringLiteral("Absent.rcc"), QString(), nullptr)
                    .IsFailed());

    EXPECT_TRUE(QFile::exists(kSectionLayout));
    EXPECT_EQ(plugin.GetResourcePath(), QDir(kResourceDir).absoluteFilePath(kResourceFile));
}
