#include "CPluginFile.h"

#include "host/KVAbstractPlugin.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonObject>
#include <QLibrary>
#include <QPluginLoader>

#include <cstring>

namespace KV {

const QString CPluginFile::kResourceFileName = QStringLiteral("KVLinkageSection.rcc");
const QString CPluginFile::kInterfaceId = QStringLiteral(KV_PLUGIN_INTERFACE_IID);
const QString CPluginFile::kClassName = QStringLiteral("CLinkagePlugin");

namespace {

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
    if (interfaceId != CPluginFile::kInterfaceId)
        problems->append(
            QStringLiteral("the raw metadata names the interface \"%1\"").arg(interfaceId));
    if (className != CPluginFile::kClassName)
        problems->append(QStringLiteral("the raw metadata names the class \"%1\"").arg(className));
}

} // namespace

CPluginFile::CPluginFile(const QString& path)
    : m_path(path)
{}

CPluginFile::~CPluginFile()
{
    Unload();
}

bool CPluginFile::Load()
{
    const QString shown = QDir::toNativeSeparators(m_path);
    const QFileInfo info(m_path);
    if (!info.exists()) {
        m_problem = QStringLiteral("%1: no such file").arg(shown);
        return false;
    }
    if (!info.isFile()) {
        m_problem = QStringLiteral("%1 is not a file").arg(shown);
        return false;
    }
    m_loader = std::make_unique<QPluginLoader>(info.absoluteFilePath());
    m_loader->setLoadHints(QLibrary::PreventUnloadHint);
    // The metadata is read from the file without running any of its code, so a plug-in of
    // another host never gets to run here.
    const QJsonObject metaData = m_loader->metaData();
    if (metaData.isEmpty()) {
        const bool loaded = m_loader->load();
        m_problem = QStringLiteral("%1 is not a Qt plug-in: %2")
                        .arg(shown, loaded ? QStringLiteral("it carries no plug-in metadata")
                                           : m_loader->errorString());
        m_loader->unload();
        return false;
    }
    const QString interfaceId = metaData.value(QStringLiteral("IID")).toString();
    if (interfaceId != kInterfaceId) {
        m_problem = QStringLiteral("%1 is a Qt plug-in of another interface: it offers \"%2\", "
                                   "not the Korvel plug-in interface \"%3\"")
                        .arg(shown, interfaceId, kInterfaceId);
        return false;
    }
    if (!m_loader->load()) {
        m_problem = QStringLiteral("%1 did not load: %2").arg(shown, m_loader->errorString());
        return false;
    }
    QObject* instance = m_loader->instance();
    if (instance == nullptr) {
        m_problem = QStringLiteral("%1: its instance function gave no plug-in object: %2")
                        .arg(shown, m_loader->errorString());
        return false;
    }
    m_plugin = qobject_cast<CAbstractPlugin*>(instance);
    if (m_plugin == nullptr) {
        m_problem = QStringLiteral("%1: its plug-in object (%2) does not offer the Korvel "
                                   "plug-in interface")
                        .arg(shown, QLatin1String(instance->metaObject()->className()));
        m_loader->unload();
        return false;
    }
    return true;
}

QObject* CPluginFile::Instance() const
{
    return m_plugin != nullptr ? m_loader->instance() : nullptr;
}

QString CPluginFile::Folder() const
{
    return QFileInfo(m_path).absolutePath();
}

bool CPluginFile::HasResourceFile() const
{
    return QFileInfo(QDir(Folder()).filePath(kResourceFileName)).isFile();
}

void CPluginFile::CheckMetaData(QStringList* problems) const
{
    const QPluginLoader loader(QFileInfo(m_path).absoluteFilePath());
    const QJsonObject metaData = loader.metaData();
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
    CheckRawMetaData(QFileInfo(m_path).absoluteFilePath(), problems);
}

void CPluginFile::CheckFreshInstance(QStringList* problems) const
{
    QObject* instance = Instance();
    if (instance == nullptr)
        return;
    if (m_loader->instance() != instance)
        problems->append(QStringLiteral("a second request for the plug-in object gave another "
                                        "object"));
    QLibrary library(m_loader->fileName());
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
    const QByteArray interfaceId = kInterfaceId.toLatin1();
    void* base = static_cast<void*>(m_plugin);
    if (instance->qt_metacast("CAbstractPlugin") != base ||
        instance->qt_metacast(interfaceId.constData()) != base)
        problems->append(QStringLiteral("casting the plug-in object to \"CAbstractPlugin\" or to "
                                        "its interface id does not give its CAbstractPlugin part"));
    if (instance->qt_metacast("KV::CLinkagePlugin") != instance)
        problems->append(QStringLiteral("casting the plug-in object to \"KV::CLinkagePlugin\" "
                                        "does not give the object itself"));
    if (instance->qt_metacast("KV::CSomethingElse") != nullptr)
        problems->append(QStringLiteral("the plug-in object casts to a class it is not"));

    if (m_plugin->GetCompatibleApps() != eAppAll)
        problems->append(
            QStringLiteral("GetCompatibleApps gives %1, not 7").arg(m_plugin->GetCompatibleApps()));

    QList<CSectionInterface*> sections;
    const UB::Result sectionResult = m_plugin->GetSectionList(sections);
    if (sectionResult != UB::kOk || sections.size() != 1 || sections.constFirst() != nullptr)
        problems->append(QStringLiteral("before Initialize, GetSectionList gives code %1 and %2 "
                                        "entries; the host expects code 0 and one null entry")
                             .arg(sectionResult.code)
                             .arg(sections.size()));
    CheckEmptyList<QDockWidget>(&CAbstractPlugin::GetDockWidgetList, "GetDockWidgetList", problems);
    CheckEmptyList<QWidget>(&CAbstractPlugin::GetStatusBarWidgetList, "GetStatusBarWidgetList",
                            problems);
}

template<typename T>
void CPluginFile::CheckEmptyList(UB::Result (CAbstractPlugin::*query)(QList<T*>&), const char* name,
                                 QStringList* problems) const
{
    // The host's list arrives with an entry already in it, which must stay alone.
    QList<T*> list{nullptr};
    const UB::Result result = (m_plugin->*query)(list);
    if (result != UB::kNothingDone || list.size() != 1)
        problems->append(
            QStringLiteral("%1 gives code %2 and %3 the list; the host expects code "
                           "1 and the list untouched")
                .arg(QLatin1String(name))
                .arg(result.code)
                .arg(list.size() != 1 ? QStringLiteral("changes") : QStringLiteral("keeps")));
}

void CPluginFile::Unload()
{
    if (m_loader != nullptr && m_loader->isLoaded())
        m_loader->unload();
    m_plugin = nullptr;
}

} // namespace KV
