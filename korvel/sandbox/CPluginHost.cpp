#include "CPluginHost.h"

#include "host/KVAbstractPlugin.h"
#include "host/KVPluginInterface.h"

#include <QAction>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QLibrary>
#include <QMenu>
#include <QPluginLoader>
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
    QString requestedPath;
    std::unique_ptr<QPluginLoader> loader;
    CAbstractPlugin* plugin = nullptr;
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
        plugin->requestedPath = file;
        plugin->loader = std::make_unique<QPluginLoader>(file);
        plugin->loader->setLoadHints(QLibrary::PreventUnloadHint);
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
    QPluginLoader& loader = *plugin.loader;
    if (!loader.load()) {
        Report(tr("Plug-in %1 did not load: %2")
                   .arg(QDir::toNativeSeparators(plugin.requestedPath), loader.errorString()));
        return false;
    }
    const QString file = QDir::toNativeSeparators(loader.fileName());
    auto* abstractPlugin = qobject_cast<CAbstractPlugin*>(loader.instance());
    if (abstractPlugin == nullptr) {
        Report(tr("%1 is a Qt plug-in but not a Korvel plug-in: it does not offer %2")
                   .arg(file, QStringLiteral(KV_PLUGIN_INTERFACE_IID)));
        loader.unload();
        return false;
    }
    plugin.plugin = abstractPlugin;
    if ((abstractPlugin->GetCompatibleApps() & eAppAnimator) == 0) {
        Report(tr("Plug-in %1 does not work in the animator; it was not started").arg(file));
        return false;
    }
    abstractPlugin->SetCurrentApp(eAppAnimator);

    const QList<QWidget*> before =
        mainWindow->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    const UB::Result result =
        abstractPlugin->Initialize(QFileInfo(loader.fileName()).absolutePath(), kSetupString, host);
    for (QWidget* widget :
         mainWindow->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!before.contains(widget))
            plugin.ownWidgets.append(widget);
    }
    if (result.IsFailed()) {
        // Whatever a failed start left under the window would float over it.
        for (const QPointer<QWidget>& widget : plugin.ownWidgets)
            widget->hide();
        Report(
            tr("Plug-in %1 failed to start: Initialize returned %2").arg(file, CodeText(result)));
        return false;
    }

    QList<CSectionInterface*> sections;
    QList<QMenu*> menus;
    QList<QToolBar*> toolBars;
    QList<QAction*> contextActions;
    QList<QDockWidget*> dockWidgets;
    QList<QWidget*> statusBarWidgets;
    const std::pair<const char*, UB::Result> answers[] = {
        {"GetSectionList", abstractPlugin->GetSectionList(sections)},
        {"GetMenusList", abstractPlugin->GetMenusList(menus)},
        {"GetToolBarsList", abstractPlugin->GetToolBarsList(toolBars)},
        {"GetContextList", abstractPlugin->GetContextList(contextActions)},
        {"GetDockWidgetList", abstractPlugin->GetDockWidgetList(dockWidgets)},
        {"GetStatusBarWidgetList", abstractPlugin->GetStatusBarWidgetList(statusBarWidgets)},
    };
    for (const auto& answer : answers) {
        if (answer.second.IsFailed())
            Report(tr("Plug-in %1: %2 returned %3")
                       .arg(file, QLatin1String(answer.first), CodeText(answer.second)));
    }
    for (CSectionInterface* section : sections) {
        if (section == nullptr || section->GetSectionWidget() == nullptr)
            continue;
        plugin.sections.append({section, section->GetSectionWidget(), section->GetSectionPanel(),
                                section->GetSectionTab(), section->GetSectionId()});
    }
    plugin.menus = Guarded(menus);
    plugin.toolBars = Guarded(toolBars);
    plugin.contextActions = Guarded(contextActions);
    plugin.dockWidgets = Guarded(dockWidgets);
    plugin.statusBarWidgets = Guarded(statusBarWidgets);
    Report(tr("Plug-in %1 started: %n section(s)", nullptr, plugin.sections.size()).arg(file),
           false);
    return true;
}

QStringList CPluginHost::LoadedFiles() const
{
    QStringList files;
    for (const auto& plugin : m_plugins) {
        if (plugin->plugin != nullptr && plugin->loader->isLoaded())
            files.append(plugin->loader->fileName());
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
    for (const auto& plugin : m_plugins) {
        // Deletes the plug-in object; the load hint keeps the library itself mapped.
        if (plugin->loader->isLoaded())
            plugin->loader->unload();
        plugin->plugin = nullptr;
    }
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
