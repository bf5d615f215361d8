#include "host/KVAbstractPlugin.h"

#include <QDir>
#include <QFileInfo>
#include <QResource>
#include <QtDebug>

namespace KV {

CAbstractPlugin::CAbstractPlugin() = default;

CAbstractPlugin::~CAbstractPlugin()
{
    // The plug-in's widgets may outlive it inside the host window, but nothing loads from its
    // resource file once the plug-in object is gone.
    if (!m_resourcePath.isEmpty())
        QResource::unregisterResource(m_resourcePath);
}

UB::Result CAbstractPlugin::InitResource(const QString& pluginFolder, const QString& resourceFile,
                                         const QString& setupString, CKorvelInterface* host)
{
    m_firstText = pluginFolder;
    m_furtherText = setupString;
    m_host = host;

    const QString path = QDir(pluginFolder).filePath(resourceFile);
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable()) {
        qWarning("KVPluginQt: resource file '%s' is missing or unreadable",
                 qPrintable(QDir::toNativeSeparators(path)));
        return kResourceNotLoaded;
    }
    if (m_resourcePath == info.absoluteFilePath())
        return UB::kOk;
    if (!QResource::registerResource(info.absoluteFilePath())) {
        qWarning("KVPluginQt: resource file '%s' is not a Qt resource file",
                 qPrintable(QDir::toNativeSeparators(path)));
        return kResourceNotLoaded;
    }
    if (!m_resourcePath.isEmpty())
        QResource::unregisterResource(m_resourcePath);
    m_resourcePath = info.absoluteFilePath();
    return UB::kOk;
}

ECompatibleApp CAbstractPlugin::GetCurrentApp()
{
    return m_currentApp;
}

void CAbstractPlugin::SetCurrentApp(ECompatibleApp app)
{
    m_currentApp = app;
}

void CAbstractPlugin::RestoreLayout() {}

} // namespace KV
