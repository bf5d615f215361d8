#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QAction;
class QDockWidget;
class QMenu;
class QToolBar;
class QWidget;

namespace KV {

class CAbstractPlugin;
class CKorvelInterface;
class CSectionInterface;

/// Loads plug-in libraries through the host's plug-in loader, starts them in the animator, and
/// keeps what they offer for the main window to place.
///
/// Widgets from a plug-in run the plug-in's code, so they are deleted before the plug-in object
/// goes; the library itself stays mapped until the process ends, because Qt keeps function
/// pointers from it (meta-types, connections) that must never dangle.
class CPluginHost : public QObject
{
    Q_OBJECT
public:
    /// A section as the host places it: where it goes, and the widget that stands for it.
    struct CSection
    {
        CSectionInterface* section = nullptr;
        QPointer<QWidget> widget;
        int panel = 0;
        int tab = 0;
        int id = 0;
    };

    /// The set-up string the sandbox hands every plug-in: its UI theme.
    static const QString kSetupString;

    explicit CPluginHost(QObject* parent = nullptr);
    ~CPluginHost() override;

    /// Loads the plug-in library at `path`, or every plug-in library in the folder `path`, and
    /// starts each with `host`; `mainWindow` is where the plug-ins' widgets go at first.
    /// Returns how many plug-ins started. Every failure is reported through Message().
    int Load(const QString& path, CKorvelInterface* host, QWidget* mainWindow);

    /// Files of the plug-ins that started, in load order.
    QStringList LoadedFiles() const;
    /// How many plug-in files were tried, started or not.
    int TriedCount() const { return static_cast<int>(m_plugins.size()); }
    /// Every report made so far, in order.
    const QStringList& Messages() const { return m_messages; }

    QList<CSection> Sections() const;
    QList<QMenu*> Menus() const;
    QList<QToolBar*> ToolBars() const;
    QList<QAction*> ContextActions() const;
    QList<QDockWidget*> DockWidgets() const;
    QList<QWidget*> StatusBarWidgets() const;

    /// Deletes the widgets the plug-ins handed to the host.
    void DeleteWidgets();
    /// Deletes the plug-in objects (after DeleteWidgets and after the host interface is gone).
    void Unload();

signals:
    void Message(const QString& text);
    /// A plug-in did not load or start.
    void Problem(const QString& text);

private:
    struct CPlugin;

    QStringList PluginFiles(const QString& path);
    bool Start(CPlugin& plugin, CKorvelInterface* host, QWidget* mainWindow);
    void Report(const QString& text, bool problem = true);
    /// One kind of offer from every plug-in, without those that are gone.
    template<typename T>
    QList<T*> Gather(QList<QPointer<T>> CPlugin::*list) const;

    std::vector<std::unique_ptr<CPlugin>> m_plugins;
    QStringList m_messages;
};

} // namespace KV
