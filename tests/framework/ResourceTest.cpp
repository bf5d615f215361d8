#include "TestResource.h"
#include "support/MessageRecorder.h"
#include "support/QtPrinters.h"

#include "host/KVAbstractPlugin.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <memory>

namespace {

const QString kSectionLayout = QStringLiteral(":/test/framework/TestSection.ui");

// The least plug-in the framework accepts: its resource handling is what is under test.
class CTestPlugin : public KV::CAbstractPlugin
{
public:
    UB::Result Initialize(const QString& first, const QString& second,
                          KV::CKorvelInterface* host) override
    {
        return InitResource(first, TestResourceFile(), second, host);
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

    EXPECT_EQ(plugin->Initialize(TestResourceDir(), QStringLiteral("dark"), nullptr), UB::kOk);
    EXPECT_TRUE(QFile::exists(kSectionLayout));
    EXPECT_EQ(plugin->GetResourcePath(),
              QDir(TestResourceDir()).absoluteFilePath(TestResourceFile()));

    // Registering the same file again changes nothing; a failed later call keeps the first
    // registration; and the file still goes away only once, with the plug-in.
    EXPECT_EQ(plugin->Initialize(TestResourceDir(), QStringLiteral("dark"), nullptr), UB::kOk);
    EXPECT_TRUE(
        plugin->InitResource(TestResourceDir(), QStringLiteral("Absent.rcc"), QString(), nullptr)
            .IsFailed());
    EXPECT_TRUE(QFile::exists(kSectionLayout));
    plugin.reset();
    EXPECT_FALSE(QFile::exists(kSectionLayout));
}

TEST(InitResource, MissingOrForeignFileFailsWithAWarningNamingThePath)
{
    const QString cases[][2] = {
        {TestResourceDir(), QStringLiteral("Absent.rcc")},
        {QStringLiteral("/nonexistent/plugins"), TestResourceFile()},
        {QStringLiteral(KV_TEST_DATA_DIR), QStringLiteral("NotAResource.rcc")},
        {TestResourceDir(), QString()},
    };
    for (const auto& c : cases) {
        const QString path = QDir(c[0]).filePath(c[1]);
        CTestPlugin plugin;
        CMessageRecorder messages;

        EXPECT_EQ(plugin.InitResource(c[0], c[1], QString(), nullptr),
                  KV::CAbstractPlugin::kResourceNotLoaded)
            << qPrintable(path);
        EXPECT_EQ(messages.GetWarningsWith(path).size(), 1)
            << qPrintable(path) << ": " << qPrintable(messages.GetWarnings().join('|'));
        EXPECT_TRUE(plugin.GetResourcePath().isEmpty());
        EXPECT_FALSE(QFile::exists(kSectionLayout));
    }
}
