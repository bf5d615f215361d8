#pragma once

#include "plugin/CLinkagePlugin.h"
#include "section/CLinkageSection.h"
#include "support/QtPrinters.h"
#include "support/SceneHostTest.h"

#include <QPointer>

class QAction;
class QToolBar;
class QToolButton;

/// A host session: the scene model as the host, a main window for the Linkage section, and the
/// plug-in object, started with `Initialize` unless a test wants to start it itself.
class PluginHostTest : public SceneHostTest
{
protected:
    void SetUp() override;
    void TearDown() override;

    /// Initialize from a plug-in folder: by default the real one, with the built resource file.
    UB::Result InitializeFrom(const QString& pluginFolder = QStringLiteral(KV_PLUGIN_DIR));

    QToolBar* GeneralToolBar();
    QToolButton* LinkToolButton();
    /// An object of the actions layout or of the section, by name.
    template<typename T>
    T* Find(const char* name)
    {
        const QString objectName = QLatin1String(name);
        T* found = layoutWindow ? layoutWindow->findChild<T*>(objectName) : nullptr;
        return found || !section ? found : section->findChild<T*>(objectName);
    }

    /// Puts the tool bar and the section into the host window and shows it, as a host does.
    void ShowInHostWindow();
    /// The tool bar, menus and context menu as a user finds them: enabled (+) or disabled (-)
    /// split button, Link and Unlink; shown or hidden Link To, Link To Camera and Unlink.
    QString Commands();
    /// The section as a user finds it: shown or hidden, its body enabled, the parent's name and
    /// whether that field is enabled, then the buttons; "camera:hidden+" is a hidden but enabled
    /// button. The buttons' states are their own, as they show once the body is enabled.
    QString SectionState();

    QPointer<KV::CLinkagePlugin> plugin;
    KV::CLinkageSection* section = nullptr;
    QPointer<QWidget> layoutWindow;
};
