#include "CPluginHost.h"

#include "CPluginLoader.h"
#include "host/KVAbstractPlugin.h"
#include "host/KVPluginInterface.h"

#include <QAction>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QLibrary>
#include <QMenu>
#include <QSet>
#include <QToolBar>
#include <QWidget>
#include <QtDebug>

namespace KV {

namespace {

// The plug-in the sandbox is made for. When the plug-in folder holds no library at all, the
// sandbox still asks Qt for this one, so that the report carries Qt's own reason.
const QString kDefaultPluginName = QStringLiteral("KVLinkageSection");

QString CodeText(const UB::Result& result)
{
    return QStringLiteral("0x%1").arg(static_cast<quint32>(result.code), 8, 16, QLatin1Char('0'));
}

template<typename T>
void DeleteAll(QList<QPointer<T>>& widgets)
{
    for (const QPointer<T>& widget : widgets)
        delete widget.data();
    widgets.clear();
}

template<typename T>
QList<QPointer<T>> Guarded(const QList<T*>& items)
{
    QList<QPointer<T>> guarded;
    for (T* item : items) {
        if (item != nullptr)
            guarded.append(item);
    }
    return guarded;
}

template<typename T>
QList<T*> Alive(const QList<QPointer<T>>& items)
{
    QList<T*> alive;
    for (const QPointer<T>& item : items) {
        if (!item.isNull())
            alive.append(item.data());
    }
    return alive;
}

} // namespace

const QString CPluginHost::kSetupString = QStringLiteral("Light");

struct CPluginHost::CPlugin
{
    std::unique_ptr<CPluginLoader> loader;
    QList<CSection> sections;
    QList<QPointer<QMenu>> menus;
    QList<QPointer<QToolBar>> toolBars;
    QList<QPointer<QAction>> contextActions;
    QList<QPointer<QDockWidget>> dockWidgets;
    QList<QPointer<QWidget>> statusBarWidgets;
    /// Every widget the plug-in made under the main window, handed over or not.
    QList<QPointer<QWidget>> ownWidgets;
};

CPluginHost::CPluginHost(QObject* parent)
    : QObject(parent)
{}

CPluginHost::~CPluginHost()
{
    DeleteWidgets();
    Unload();
}

int CPluginHost::Load(const QString& path, CKorvelInterface* host, QWidget* mainWindow)
{
    int started = 0;
    for (const QString& file : PluginFiles(path)) {
        auto plugin = std::make_unique<CPlugin>();
        plugin->loader = std::make_unique<CPluginLoader>(file);
        if (Start(*plugin, host, mainWindow))
            ++started;
        m_plugins.push_back(std::move(plugin));
    }
    return started;
}

QStringList CPluginHost::PluginFiles(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isDir())
        return {path};

    QStringList files;
    const QDir folder(path);
    for (const QFileInfo& entry : folder.entryInfoList(QDir::Files, QDir::Name)) {
        if (QLibrary::isLibrary(entry.fileName()))
            files.append(entry.absoluteFilePath());
    }
    if (files.isEmpty())
        files.append(folder.filePath(kDefaultPluginName));
    return files;
}

bool CPluginHost::Start(CPlugin& plugin, CKorvelInterface* host, QWidget* mainWindow)
{
    CPluginLoader& loader = *plugin.loader;
    if (!loader.Load()) {
        Report(loader.Problem());
        return false;
    }
    const QString file = QDir::toNativeSeparators(loader.FileName());
    CAbstractPlugin* abstractPlugin = loader.Plugin();
    if ((abstractPlugin->GetCompatibleApps() & eAppAnimator) == 0) {
        Report(tr("Plug-in %1 does not work in the animator; it was not started").arg(file));
        return false;
    }
    abstractPlugin->SetCurrentApp(eAppAnimator);

    const QList<QWidget*> before =
        mainWindow->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    const UB::Result result = loader.Initialize(host, kSetupString);
    for (QWidget* widget :
         mainWindow->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!before.contains(widget))
            plugin.ownWidgets.append(widget);
    }
    if (result.IsFailed()) {
        // Whatever a failed start left under the window would float over it.
        for (const QPointer<QWidget>& widget : plugin.ownWidgets)
            widget->hide();
        Report(loader.Problem());
        return false;
    }

    const CPluginLoader::COffers offers = loader.Offers();
    for (const auto& answer : offers.answers) {
        if (answer.second.IsFailed())
            Report(tr("Plug-in %1: %2 returned %3")
                       .arg(file, QLatin1String(answer.first), CodeText(answer.second)));
    }
    for (CSectionInterface* section : offers.sections) {
        if (section == nullptr || section->GetSectionWidget() == nullptr)
            continue;
        plugin.sections.append({section, section->GetSectionWidget(), section->GetSectionPanel(),
                                section->GetSectionTab(), section->GetSectionId()});
    }
    plugin.menus = Guarded(offers.menus);
    plugin.toolBars = Guarded(offers.toolBars);
    plugin.contextActions = Guarded(offers.contextActions);
    plugin.dockWidgets = Guarded(offers.dockWidgets);
    plugin.statusBarWidgets = Guarded(offers.statusBarWidgets);
    Report(tr("Plug-in %1 started: %n section(s)", nullptr, plugin.sections.size()).arg(file),
           false);
    return true;
}

QStringList CPluginHost::LoadedFiles() const
{
    QStringList files;
    for (const auto& plugin : m_plugins) {
        if (plugin->loader->IsLoaded())
            files.append(plugin->loader->FileName());
    }
    return files;
}

QList<CPluginHost::CSection> CPluginHost::Sections() const
{
    QList<CSection> sections;
    for (const auto& plugin : m_plugins) {
        for (const CSection& section : plugin->sections) {
            if (!section.widget.isNull())
                sections.append(section);
        }
    }
    return sections;
}

template<typename T>
QList<T*> CPluginHost::Gather(QList<QPointer<T>> CPlugin::*list) const
{
    QList<T*> all;
    for (const auto& plugin : m_plugins)
        all += Alive((*plugin).*list);
    return all;
}

QList<QMenu*> CPluginHost::Menus() const
{
    return Gather(&CPlugin::menus);
}

QList<QToolBar*> CPluginHost::ToolBars() const
{
    return Gather(&CPlugin::toolBars);
}

QList<QAction*> CPluginHost::ContextActions() const
{
    return Gather(&CPlugin::contextActions);
}

QList<QDockWidget*> CPluginHost::DockWidgets() const
{
    return Gather(&CPlugin::dockWidgets);
}

QList<QWidget*> CPluginHost::StatusBarWidgets() const
{
    return Gather(&CPlugin::statusBarWidgets);
}

void CPluginHost::DeleteWidgets()
{
    for (const auto& plugin : m_plugins) {
        for (CSection& section : plugin->sections)
            delete section.widget.data();
        plugin->sections.clear();
        DeleteAll(plugin->toolBars);
        DeleteAll(plugin->dockWidgets);
        DeleteAll(plugin->statusBarWidgets);
        DeleteAll(plugin->ownWidgets);
    }
}

void CPluginHost::Unload()
{
    // Deletes the plug-in objects; the libraries themselves stay mapped.
    m_plugins.clear();
}

void CPluginHost::Report(const QString& text, bool problem)
{
    m_messages.append(text);
    qInfo().noquote() << "korvel-sandbox:" << text;
    if (problem)
        emit Problem(text);
    else
        emit Message(text);
}

} // namespace KV
