#include "CPluginLoader.h"

#include "host/KVAbstractPlugin.h"
#include "host/KVPluginInterface.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QPluginLoader>

namespace KV {

const QString CPluginLoader::kInterfaceId = QStringLiteral(KV_PLUGIN_INTERFACE_IID);

CPluginLoader::CPluginLoader(const QString& path)
    : m_path(path)
    // A path, not a name to look for along Qt's library paths.
    , m_loader(std::make_unique<QPluginLoader>(QFileInfo(path).absoluteFilePath()))
{
    m_loader->setLoadHints(QLibrary::PreventUnloadHint);
}

CPluginLoader::~CPluginLoader()
{
    Unload();
}

bool CPluginLoader::Load()
{
    m_problem.clear();
    // The metadata is read from the file without running any of its code, so a plug-in of
    // another host never gets to run here.
    const QJsonObject metaData = m_loader->metaData();
    if (metaData.isEmpty()) {
        // No Qt plug-in, or no file at all: Qt's own reason says which.
        const bool loaded = m_loader->load();
        m_problem =
            tr("Plug-in %1 did not load: %2")
                .arg(QDir::toNativeSeparators(m_path),
                     loaded ? tr("it carries no plug-in metadata") : m_loader->errorString());
        if (loaded)
            m_loader->unload();
        return false;
    }
    const QString interfaceId = metaData.value(QStringLiteral("IID")).toString();
    if (interfaceId != kInterfaceId) {
        m_problem = tr("%1 is a Qt plug-in but not a Korvel plug-in: it offers \"%2\", not \"%3\"")
                        .arg(Shown(), interfaceId, kInterfaceId);
        return false;
    }
    if (!m_loader->load()) {
        m_problem = tr("Plug-in %1 did not load: %2")
                        .arg(QDir::toNativeSeparators(m_path), m_loader->errorString());
        return false;
    }
    QObject* instance = m_loader->instance();
    if (instance == nullptr) {
        m_problem = tr("%1 is a Qt plug-in but gives no plug-in object: %2")
                        .arg(Shown(), m_loader->errorString());
        return false;
    }
    m_plugin = qobject_cast<CAbstractPlugin*>(instance);
    if (m_plugin == nullptr) {
        m_problem =
            tr("%1 is a Qt plug-in but not a Korvel plug-in: its plug-in object (%2) "
               "does not offer \"%3\"")
                .arg(Shown(), QLatin1String(instance->metaObject()->className()), kInterfaceId);
        m_loader->unload();
        return false;
    }
    return true;
}

UB::Result CPluginLoader::Initialize(CKorvelInterface* host, const QString& setupString,
                                     const QString& folder)
{
    const UB::Result result =
        m_plugin->Initialize(folder.isNull() ? Folder() : folder, setupString, host);
    if (result.IsFailed())
        m_problem = tr("Plug-in %1 failed to start: Initialize returned 0x%2")
                        .arg(Shown())
                        .arg(static_cast<quint32>(result.code), 8, 16, QLatin1Char('0'));
    return result;
}

CPluginLoader::COffers CPluginLoader::Offers() const
{
    COffers offers;
    offers.answers = {
        {"GetSectionList", m_plugin->GetSectionList(offers.sections)},
        {"GetMenusList", m_plugin->GetMenusList(offers.menus)},
        {"GetToolBarsList", m_plugin->GetToolBarsList(offers.toolBars)},
        {"GetContextList", m_plugin->GetContextList(offers.contextActions)},
        {"GetDockWidgetList", m_plugin->GetDockWidgetList(offers.dockWidgets)},
        {"GetStatusBarWidgetList", m_plugin->GetStatusBarWidgetList(offers.statusBarWidgets)},
    };
    return offers;
}

UB::Result CPluginLoader::COffers::CodeOf(const char* query) const
{
    for (const auto& answer : answers) {
        if (qstrcmp(answer.first, query) == 0)
            return answer.second;
    }
    return UB::kNothingDone;
}

void CPluginLoader::Unload()
{
    if (m_loader->isLoaded())
        m_loader->unload();
    m_plugin = nullptr;
}

QObject* CPluginLoader::Instance() const
{
    return m_plugin != nullptr ? m_loader->instance() : nullptr;
}

bool CPluginLoader::IsLoaded() const
{
    return m_plugin != nullptr && m_loader->isLoaded();
}

QString CPluginLoader::FileName() const
{
    return m_loader->fileName();
}

QJsonObject CPluginLoader::MetaData() const
{
    return m_loader->metaData();
}

QString CPluginLoader::Folder() const
{
    return QFileInfo(FileName().isEmpty() ? m_path : FileName()).absolutePath();
}

QString CPluginLoader::ResourceFile() const
{
    QString name = QFileInfo(FileName().isEmpty() ? m_path : FileName()).completeBaseName();
    if (name.startsWith(QLatin1String("lib")))
        name.remove(0, 3);
    return QDir(Folder()).filePath(name + QStringLiteral(".rcc"));
}

QString CPluginLoader::Shown() const
{
    return QDir::toNativeSeparators(FileName().isEmpty() ? m_path : FileName());
}

} // namespace KV
