#pragma once

#include "CSandboxOptions.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>

#include <memory>

class QDockWidget;
class QLabel;
class QSettings;

namespace KV {

class CDeveloperMenu;
class CFileMenu;
class CHostCallsPanel;
class CHotKeyMap;
class CModifyPanel;
class CObjectSection;
class COutliner;
class CParentPicker;
class CPluginHost;
class CSceneModel;
struct CJournalEntry;
class CTimelineBar;
class CViewport;

/// The stand-in host's main window: loads the plug-ins, gives them the scene, and places what
/// they offer (sections, menus, tool bars, context actions, hot keys) around the outliner, the
/// viewport, the timeline and the Host Calls panel.
class CSandboxWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit CSandboxWindow(const CSandboxOptions& options, QWidget* parent = nullptr);
    ~CSandboxWindow() override;

    CSceneModel* Scene() const { return m_scene.get(); }
    CPluginHost* Plugins() const { return m_plugins.get(); }
    CHotKeyMap* HotKeys() const { return m_hotKeys.get(); }
    CViewport* Viewport() const { return m_viewport; }
    COutliner* Outliner() const { return m_outliner; }
    CModifyPanel* ModifyPanel() const { return m_modifyPanel; }
    CTimelineBar* Timeline() const { return m_timeline; }
    CHostCallsPanel* HostCalls() const { return m_hostCalls; }
    CFileMenu* FileMenu() const { return m_fileMenu; }
    CDeveloperMenu* DeveloperMenu() const { return m_developerMenu; }
    QSettings* Settings() const { return m_settings.get(); }

    /// The context menu of the outliner and the viewport: the sandbox's selection commands and
    /// the plug-ins' context actions. The caller owns it.
    QMenu* BuildContextMenu(QWidget* parent);
    /// Opens the Hot Keys dialog (modal, in the host's dialog mode) and keeps what the user set.
    void ShowHotKeys();
    /// Shows a message in the status bar and in the Host Calls panel. A routine message does
    /// not replace a problem that is still on show.
    void ShowMessage(const QString& text);
    void ShowProblem(const QString& text);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildCentre();
    void BuildDocks();
    void BuildMenus();
    void BuildStatusBar();
    void LoadPlugins();
    void PlacePluginMenu(QMenu* menu);
    void ShowSection(int panel, int tab, int section);
    void ShowContextMenu(QWidget* source, const QPoint& globalPos);
    void ShowPickMode();
    void ShowAbout();
    void ShowPlugins();
    void SelectAll();
    void UpdateTitle();
    void ReportFailedCalls(const QVector<CJournalEntry>& failedCalls);
    void OnSceneReplaced();

    CSandboxOptions m_options;
    std::unique_ptr<QSettings> m_settings;
    std::unique_ptr<CSceneModel> m_scene;
    std::unique_ptr<CPluginHost> m_plugins;
    std::unique_ptr<CHotKeyMap> m_hotKeys;
    CParentPicker* m_picker = nullptr;
    CViewport* m_viewport = nullptr;
    COutliner* m_outliner = nullptr;
    CModifyPanel* m_modifyPanel = nullptr;
    CObjectSection* m_objectSection = nullptr;
    CTimelineBar* m_timeline = nullptr;
    CHostCallsPanel* m_hostCalls = nullptr;
    CFileMenu* m_fileMenu = nullptr;
    CDeveloperMenu* m_developerMenu = nullptr;
    QDockWidget* m_modifyDock = nullptr;
    QMenu* m_editMenu = nullptr;
    QMenu* m_viewMenu = nullptr;
    QMenu* m_helpMenu = nullptr;
    QLabel* m_pickModeLabel = nullptr;
    QElapsedTimer m_problemShown;
    QList<QPointer<QMenu>> m_pluginContextMenus;
};

} // namespace KV
