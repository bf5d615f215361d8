#include "CPluginFileCheck.h"

#include "CPluginLoader.h"
#include "host/KVAbstractPlugin.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonObject>
#include <QLibrary>
#include <QPluginLoader>

#include <cstring>

namespace KV {

namespace {

const QString kClassName = QStringLiteral("CLinkagePlugin");

// ---- The raw metadata block -----------------------------------------------------------------
// "QTMETADATA !", four header bytes, then a CBOR map. The block's length is not exported, so
// it is read item by item and never past what its own items declare.

class CCborCursor
{
public:
    explicit CCborCursor(const unsigned char* data)
        : m_data(data)
    {}

    /// Reads an item's head. `value` is the argument; `indefinite` marks 0x?f heads.
    bool ReadHead(int* major, quint64* value, bool* indefinite)
    {
        if (!Budget(1))
            return false;
        const unsigned char head = m_data[m_offset++];
        *major = head >> 5;
        const int info = head & 0x1f;
        *indefinite = info == 31;
        if (info < 24 || info == 31) {
            *value = info;
            return true;
        }
        if (info > 27)
            return false;
        const int bytes = 1 << (info - 24);
        if (!Budget(bytes))
            return false;
        quint64 number = 0;
        for (int i = 0; i < bytes; ++i)
            number = (number << 8) | m_data[m_offset++];
        *value = number;
        return true;
    }

    bool ReadText(quint64 length, QString* text)
    {
        if (length > kLimit || !Budget(static_cast<int>(length)))
            return false;
        *text = QString::fromUtf8(reinterpret_cast<const char*>(m_data + m_offset),
                                  static_cast<int>(length));
        m_offset += static_cast<int>(length);
        return true;
    }

    /// Skips the rest of an item whose head was just read.
    bool SkipBody(int major, quint64 value, bool indefinite, int depth = 0)
    {
        if (depth > 32)
            return false;
        switch (major) {
        case 0:
        case 1:
            return true;
        case 2:
        case 3:
            if (indefinite || value > kLimit || !Budget(static_cast<int>(value)))
                return false;
            m_offset += static_cast<int>(value);
            return true;
        case 4:
        case 5: {
            const quint64 items = major == 5 ? value * 2 : value;
            for (quint64 i = 0; indefinite || i < items; ++i) {
                int innerMajor = 0;
                quint64 innerValue = 0;
                bool innerIndefinite = false;
                if (!ReadHead(&innerMajor, &innerValue, &innerIndefinite))
                    return false;
                if (indefinite && innerMajor == 7 && innerIndefinite)
                    return true;
                if (!SkipBody(innerMajor, innerValue, innerIndefinite, depth + 1))
                    return false;
            }
            return true;
        }
        case 6: {
            int innerMajor = 0;
            quint64 innerValue = 0;
            bool innerIndefinite = false;
            return ReadHead(&innerMajor, &innerValue, &innerIndefinite) &&
                   SkipBody(innerMajor, innerValue, innerIndefinite, depth + 1);
        }
        default:
            return !indefinite;
        }
    }

private:
    static constexpr quint64 kLimit = 1 << 16;

    bool Budget(int bytes) const { return m_offset + bytes <= static_cast<int>(kLimit); }

    const unsigned char* m_data;
    int m_offset = 0;
};

void CheckRawMetaData(const QString& path, QStringList* problems)
{
    QLibrary library(path);
    library.setLoadHints(QLibrary::PreventUnloadHint);
    using QueryFunction = const char* (*)();
    const auto query = reinterpret_cast<QueryFunction>(library.resolve("qt_plugin_query_metadata"));
    if (query == nullptr) {
        problems->append(QStringLiteral("the library exports no qt_plugin_query_metadata"));
        return;
    }
    const auto* block = reinterpret_cast<const unsigned char*>(query());
    // Hands back this look-up's hold on the library, so that the host's loader alone decides
    // when the plug-in object goes; the code stays mapped.
    library.unload();
    if (block == nullptr || std::memcmp(block, "QTMETADATA !", 12) != 0) {
        problems->append(QStringLiteral("the metadata block does not start with \"QTMETADATA !\""));
        return;
    }
    if (block[12] != 0 || block[13] != 5 || block[14] != 15)
        problems->append(QStringLiteral("the metadata header gives format %1 and Qt %2.%3; the "
                                        "host needs format 0 and Qt 5.15")
                             .arg(block[12])
                             .arg(block[13])
                             .arg(block[14]));
    if (block[15] != 0)
        problems->append(QStringLiteral("the metadata header's requirement flags are 0x%1, not 0 "
                                        "(a release build with no processor requirement)")
                             .arg(block[15], 2, 16, QLatin1Char('0')));

    CCborCursor cursor(block + 16);
    int major = 0;
    quint64 value = 0;
    bool indefinite = false;
    if (!cursor.ReadHead(&major, &value, &indefinite) || major != 5 || !indefinite) {
        problems->append(QStringLiteral("the metadata is not a CBOR map of indefinite length"));
        return;
    }
    QStringList keys;
    QString interfaceId;
    QString className;
    for (;;) {
        if (!cursor.ReadHead(&major, &value, &indefinite)) {
            problems->append(QStringLiteral("the metadata's CBOR map is malformed"));
            return;
        }
        if (major == 7 && indefinite)
            break;
        if (major != 0) {
            problems->append(QStringLiteral("the metadata's CBOR map has a key that is not a "
                                            "small number"));
            return;
        }
        const quint64 key = value;
        keys.append(QString::number(key));
        if (!cursor.ReadHead(&major, &value, &indefinite)) {
            problems->append(QStringLiteral("the metadata's CBOR map is malformed"));
            return;
        }
        QString text;
        const bool isText = major == 3 && !indefinite;
        if (isText ? !cursor.ReadText(value, &text) : !cursor.SkipBody(major, value, indefinite)) {
            problems->append(QStringLiteral("the metadata's CBOR map is malformed"));
            return;
        }
        if (key == 2)
            interfaceId = text;
        else if (key == 3)
            className = text;
    }
    if (keys != QStringList{QStringLiteral("2"), QStringLiteral("3")})
        problems->append(QStringLiteral("the metadata's CBOR map holds the keys %1; the host "
                                        "expects 2 and 3 only (no user metadata)")
                             .arg(keys.join(QStringLiteral(", "))));
    if (interfaceId != CPluginLoader::kInterfaceId)
        problems->append(
            QStringLiteral("the raw metadata names the interface \"%1\"").arg(interfaceId));
    if (className != kClassName)
        problems->append(QStringLiteral("the raw metadata names the class \"%1\"").arg(className));
}

template<typename T>
void CheckEmptyList(CAbstractPlugin& plugin, UB::Result (CAbstractPlugin::*query)(QList<T*>&),
                    const char* name, QStringList* problems)
{
    // The host's list arrives with an entry already in it, which must stay alone.
    QList<T*> list{nullptr};
    const UB::Result result = (plugin.*query)(list);
    if (result != UB::kNothingDone || list.size() != 1)
        problems->append(
            QStringLiteral("%1 gives code %2 and %3 the list; the host expects code "
                           "1 and the list untouched")
                .arg(QLatin1String(name))
                .arg(result.code)
                .arg(list.size() != 1 ? QStringLiteral("changes") : QStringLiteral("keeps")));
}

} // namespace

void CPluginFileCheck::CheckMetaData(const CPluginLoader& plugin, QStringList* problems)
{
    const QJsonObject metaData = plugin.MetaData();
    const QString className = metaData.value(QStringLiteral("className")).toString();
    if (className != kClassName)
        problems->append(QStringLiteral("the metadata names the class \"%1\", not \"%2\"")
                             .arg(className, kClassName));
    if (metaData.value(QStringLiteral("debug")).toBool())
        problems->append(QStringLiteral("the metadata marks a debug build; the host loads "
                                        "release metadata only"));
    const int version = metaData.value(QStringLiteral("version")).toInt();
    if ((version >> 16) != 5 || ((version >> 8) & 0xff) != 15)
        problems->append(QStringLiteral("the metadata was made by Qt %1.%2, not Qt 5.15")
                             .arg(version >> 16)
                             .arg((version >> 8) & 0xff));
    if (!metaData.value(QStringLiteral("MetaData")).toObject().isEmpty())
        problems->append(QStringLiteral("the metadata carries user metadata"));
    CheckRawMetaData(plugin.FileName(), problems);
}

void CPluginFileCheck::CheckFreshInstance(const CPluginLoader& plugin, QStringList* problems)
{
    QObject* instance = plugin.Instance();
    CAbstractPlugin* base = plugin.Plugin();
    if (instance == nullptr)
        return;
    if (plugin.Instance() != instance)
        problems->append(QStringLiteral("a second request for the plug-in object gave another "
                                        "object"));
    QLibrary library(plugin.FileName());
    library.setLoadHints(QLibrary::PreventUnloadHint);
    using InstanceFunction = QObject* (*)();
    const auto instanceFunction =
        reinterpret_cast<InstanceFunction>(library.resolve("qt_plugin_instance"));
    if (instanceFunction == nullptr || instanceFunction() != instance)
        problems->append(QStringLiteral("qt_plugin_instance does not give the loader's object"));
    library.unload();

    const char* className = instance->metaObject()->className();
    if (qstrcmp(className, "KV::CLinkagePlugin") != 0)
        problems->append(QStringLiteral("the plug-in object's class is \"%1\", not "
                                        "\"KV::CLinkagePlugin\"")
                             .arg(QLatin1String(className)));
    const QByteArray interfaceId = CPluginLoader::kInterfaceId.toLatin1();
    if (instance->qt_metacast("CAbstractPlugin") != base ||
        instance->qt_metacast(interfaceId.constData()) != base)
        problems->append(QStringLiteral("casting the plug-in object to \"CAbstractPlugin\" or to "
                                        "its interface id does not give its CAbstractPlugin part"));
    if (instance->qt_metacast("KV::CLinkagePlugin") != instance)
        problems->append(QStringLiteral("casting the plug-in object to \"KV::CLinkagePlugin\" "
                                        "does not give the object itself"));
    if (instance->qt_metacast("KV::CSomethingElse") != nullptr)
        problems->append(QStringLiteral("the plug-in object casts to a class it is not"));

    if (base->GetCompatibleApps() != eAppAll)
        problems->append(
            QStringLiteral("GetCompatibleApps gives %1, not 7").arg(base->GetCompatibleApps()));

    QList<CSectionInterface*> sections;
    const UB::Result sectionResult = base->GetSectionList(sections);
    if (sectionResult != UB::kOk || sections.size() != 1 || sections.constFirst() != nullptr)
        problems->append(QStringLiteral("before Initialize, GetSectionList gives code %1 and %2 "
                                        "entries; the host expects code 0 and one null entry")
                             .arg(sectionResult.code)
                             .arg(sections.size()));
    CheckEmptyList<QDockWidget>(*base, &CAbstractPlugin::GetDockWidgetList, "GetDockWidgetList",
                                problems);
    CheckEmptyList<QWidget>(*base, &CAbstractPlugin::GetStatusBarWidgetList,
                            "GetStatusBarWidgetList", problems);
}

} // namespace KV
