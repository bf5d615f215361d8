#pragma once

#include "CPluginLoader.h"
#include "host/KVAbstractPlugin.h"
#include "support/SceneHostTest.h"

#include <QPointer>

class QAction;
class QToolBar;
class QToolButton;

/// A host session: the scene model as the host, a main window for the Linkage section, and the
/// plug-in object obtained from the built module through the host's plug-in loader.
class PluginHostTest : public SceneHostTest
{
public:
    /// The built plug-in module.
    static QString ModulePath();

protected:
    void SetUp() override;
    void TearDown() override;
    /// The plug-in object of the session: by default the one the built module hands out.
    virtual QObject* CreatePluginInstance();

    /// Initialize with the real plug-in folder, so that the built resource file is found.
    UB::Result InitializeFromPluginFolder();
    UB::Result InitializeFrom(const QString& pluginFolder);

    /// What the host gets back from the list queries.
    QToolBar* GeneralToolBar();
    QWidget* SectionWidget();
    /// An object of the actions layout, found under its window.
    template<typename T>
    T* LayoutObject(const QString& name)
    {
        return layoutWindow ? layoutWindow->findChild<T*>(name) : nullptr;
    }
    QAction* LayoutAction(const QString& name);
    QToolButton* LinkToolButton();

    /// Puts the plug-in's tool bar and section into the host window and shows it, as a host
    /// does.
    void ShowInHostWindow();
    /// Adds a top-level object and selects it, through the host's own events.
    UB::CHandle* SelectNewObject(const QString& name, int type);
    /// The tool bar, menus and context menu as a user finds them: enabled (+) or disabled (-)
    /// split button, Link and Unlink; shown or hidden Link To, Link To Camera and Unlink.
    QString Commands();

    KV::CPluginLoader loader{ModulePath()};
    QPointer<QObject> instance;
    KV::CAbstractPlugin* plugin = nullptr;
    QPointer<QWidget> layoutWindow;
};
