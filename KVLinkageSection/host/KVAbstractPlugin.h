#pragma once

#include "host/KVCoreBase.h"
#include "host/KVPluginInterface.h"

#include <QPointer>
#include <QtPlugin>

class QAction;
class QMenu;
class QToolBar;

namespace KV {

/// Base of every plug-in object: the host's plug-in interface plus the framework's core
/// state, and the lists of tool bars, menus and context actions the plug-in offers.
class KVPLUGINQT_EXPORT CAbstractPlugin : public CPluginInterface, public CCoreBase
{
public:
    CAbstractPlugin();
    ~CAbstractPlugin() override;

    /// Registers `resourceFile`, which lies in the folder `pluginFolder`, and stores the two
    /// texts and the host. A missing or unreadable file gives kResourceNotLoaded and a
    /// warning that names the path. The file is unregistered when the plug-in object dies.
    UB::Result InitResource(const QString& pluginFolder, const QString& resourceFile,
                            const QString& setupString, CKorvelInterface* host);

    ECompatibleApp GetCurrentApp() override;
    void SetCurrentApp(ECompatibleApp app) override;
    void RestoreLayout() override;

    /// The registered resource file, empty before InitResource succeeded.
    const QString& GetResourcePath() const { return m_resourcePath; }

    static constexpr UB::Result kResourceNotLoaded{UB::ToCode(0x80040010u)};

protected:
    UB::CArrayList<QPointer<QToolBar>> m_toolBars;
    UB::CArrayList<QPointer<QMenu>> m_menus;
    UB::CArrayList<QPointer<QAction>> m_contextActions;

private:
    ECompatibleApp m_currentApp = eAppNone;
    QString m_resourcePath;
};

} // namespace KV

#define KV_PLUGIN_INTERFACE_IID "Ostrevan.Korvel.CPluginInterface/7.0"
Q_DECLARE_INTERFACE(KV::CAbstractPlugin, KV_PLUGIN_INTERFACE_IID)
