// Loading the plug-in as the host does: reading its metadata before anything runs, then
// getting its one object and asking it for the host's plug-in interface.

#include "PluginHostTest.h"
#include "support/QtPrinters.h"

#include <QByteArray>
#include <QJsonObject>
#include <QLibrary>

namespace {

using InstanceFunction = QObject* (*)();
using MetaDataFunction = const char* (*)();

// Qt 5.15's plug-in metadata block for the interface with no metadata file, as the host's
// loader reads it: header, format version 0, Qt 5.15, a release build with no processor
// requirement, then a CBOR map {2: IID, 3: class name} of indefinite length.
QByteArray ExpectedMetaData()
{
    QByteArray bytes("QTMETADATA !");
    bytes.append('\0').append('\5').append('\x0f').append('\0');
    bytes.append('\xbf');
    bytes.append('\x02').append('\x78').append('\x24');
    bytes.append("Ostrevan.Korvel.CPluginInterface/7.0");
    bytes.append('\x03').append('\x6e');
    bytes.append("CLinkagePlugin");
    bytes.append('\xff');
    return bytes;
}

TEST(PluginLoading, MetadataNamesTheHostInterfaceAndTheClassOfAReleaseBuild)
{
    QPluginLoader loader(PluginHostTest::ModulePath());
    const QJsonObject metaData = loader.metaData();

    EXPECT_EQ(metaData.value(QStringLiteral("IID")).toString(),
              QStringLiteral("Ostrevan.Korvel.CPluginInterface/7.0"));
    EXPECT_EQ(metaData.value(QStringLiteral("className")).toString(),
              QStringLiteral("CLinkagePlugin"));
    EXPECT_FALSE(metaData.value(QStringLiteral("debug")).toBool());
    EXPECT_FALSE(metaData.contains(QStringLiteral("MetaData")));
}

TEST(PluginLoading, RawMetadataBlockIsExactlyQtsForTheInterface)
{
    QLibrary library(PluginHostTest::ModulePath());
    ASSERT_TRUE(library.load()) << library.errorString().toStdString();
    auto query = reinterpret_cast<MetaDataFunction>(library.resolve("qt_plugin_query_metadata"));
    ASSERT_NE(query, nullptr);

    const QByteArray expected = ExpectedMetaData();
    const QByteArray actual(query(), expected.size());
    EXPECT_EQ(actual.toHex(' '), expected.toHex(' '));
}

TEST(PluginLoading, InstanceIsOneObjectUntilDeletedThenANewOne)
{
    QLibrary library(PluginHostTest::ModulePath());
    ASSERT_TRUE(library.load()) << library.errorString().toStdString();
    auto instance = reinterpret_cast<InstanceFunction>(library.resolve("qt_plugin_instance"));
    ASSERT_NE(instance, nullptr);

    QPointer<QObject> first = instance();
    ASSERT_NE(first, nullptr);
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

TEST(PluginLoading, MetaCastsAnswerTheClassTheBaseAndTheInterfaceIdentifier)
{
    QPluginLoader loader(PluginHostTest::ModulePath());
    QPointer<QObject> object = loader.instance();
    ASSERT_NE(object, nullptr) << loader.errorString().toStdString();

    EXPECT_STREQ(object->metaObject()->className(), "KV::CLinkagePlugin");
    EXPECT_EQ(object->qt_metacast("KV::CLinkagePlugin"), object.data());
    auto* base = qobject_cast<KV::CAbstractPlugin*>(object.data());
    ASSERT_NE(base, nullptr);
    EXPECT_EQ(object->qt_metacast("CAbstractPlugin"), base);
    EXPECT_EQ(object->qt_metacast("Ostrevan.Korvel.CPluginInterface/7.0"), base);
    EXPECT_EQ(object->qt_metacast("QObject"), object.data());
    EXPECT_EQ(object->qt_metacast("KV::CPluginInterface"), nullptr);
    EXPECT_EQ(object->qt_metacast("CLinkagePlugin"), nullptr);
    delete object.data();
}

} // namespace
