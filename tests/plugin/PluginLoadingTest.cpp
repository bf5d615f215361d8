// Loading the plug-in as the host does: its metadata names the host's interface and its class,
// and its instance function hands out one object at a time.

#include "PluginHostTest.h"
#include "support/QtPrinters.h"

#include <QJsonObject>
#include <QLibrary>

namespace {

using InstanceFunction = QObject* (*)();

TEST(PluginLoading, MetadataNamesTheHostInterfaceAndTheClassOfAReleaseBuild)
{
    KV::CPluginLoader loader(PluginHostTest::ModulePath());
    const QJsonObject metaData = loader.MetaData();

    EXPECT_EQ(metaData.value(QStringLiteral("IID")).toString(),
              QStringLiteral("Ostrevan.Korvel.CPluginInterface/7.0"));
    EXPECT_EQ(metaData.value(QStringLiteral("className")).toString(),
              QStringLiteral("CLinkagePlugin"));
    EXPECT_FALSE(metaData.value(QStringLiteral("debug")).toBool());
    EXPECT_FALSE(metaData.contains(QStringLiteral("MetaData")));
}

TEST(PluginLoading, InstanceIsOneObjectUntilDeletedThenANewOne)
{
    KV::CPluginLoader loader(PluginHostTest::ModulePath());
    ASSERT_TRUE(loader.Load()) << loader.Problem().toStdString();
    // The plug-in's own function, not Qt's cache of what it gave.
    QLibrary library(loader.FileName());
    auto instance = reinterpret_cast<InstanceFunction>(library.resolve("qt_plugin_instance"));
    library.unload();
    ASSERT_NE(instance, nullptr);

    QPointer<QObject> first = instance();
    ASSERT_EQ(first, loader.Instance());
    first->setObjectName(QStringLiteral("first"));
    EXPECT_EQ(instance(), first.data());
    EXPECT_EQ(first->parent(), nullptr);

    delete first.data();
    QPointer<QObject> second = instance();
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(second->objectName().isEmpty()) << "the deleted object came back";
    EXPECT_EQ(instance(), second.data());
    delete second.data();
}

} // namespace
