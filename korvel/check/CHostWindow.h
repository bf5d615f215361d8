#pragma once

#include "CPluginLoader.h"
#include "host/UBTypes.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <memory>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QPushButton;
class QToolBar;
class QToolButton;
class QWidget;

namespace KV {

class CSceneModel;
class CSectionInterface;

/// What the host gets from the plug-in and a user can reach: the section's controls, found by
/// object name in the section widget, and the commands, found by object name in the menus and
/// tool bars the plug-in hands over and among the actions it registers as hot keys.
struct CPluginWidgets
{
    CSectionInterface* sectionInterface = nullptr;
    QPointer<QWidget> section;
    QPointer<QGroupBox> groupBox;
    QPointer<QLabel> label;
    QPointer<QLineEdit> linkNodeText;
    QPointer<QPushButton> pickParent;
    QPointer<QPushButton> unlink;
    QPointer<QPushButton> linkCamera;
    QPointer<QToolButton> linkSubNode;
    QPointer<QAction> escHotkey;

    QPointer<QToolButton> splitButton;
    QPointer<QMenu> linkMenu;
    QPointer<QAction> linkAction;
    QPointer<QAction> unlinkAction;
    QPointer<QAction> linkToAction;
    QPointer<QAction> linkToCameraAction;
    QPointer<QAction> contextUnlinkAction;
    QPointer<QAction> sectionHotkey;

    QList<QPointer<QMenu>> menus;
    QList<QPointer<QToolBar>> toolBars;
};

/// A host window around the scene model, made for one plug-in session: a main window with a
/// Modify panel, a menu bar and tool bar area. It starts the plug-in the way the host does and
/// places what the plug-in offers. Destroying it deletes the widgets the plug-in handed over
/// and then the scene, so the plug-in object can go last, as in the host.
class CHostWindow
{
public:
    /// The set-up string handed to Initialize: the host's UI theme.
    static const QString kSetupString;

    CHostWindow();
    ~CHostWindow();
    CHostWindow(const CHostWindow&) = delete;
    CHostWindow& operator=(const CHostWindow&) = delete;

    CSceneModel& Scene() { return *m_scene; }
    QMainWindow& Window() { return *m_window; }

    /// Initialize(plug-in folder, set-up string, scene), then the list queries; places the
    /// section, menus and tool bars and looks up every control. Returns Initialize's code.
    /// `problems` receives what the host found wrong in the answers and what it could not find.
    UB::Result Start(CPluginLoader& plugin, QStringList* problems);
    const CPluginWidgets& Widgets() const { return m_widgets; }

    /// Whether every control the checker drives was found.
    bool HasAllControls() const;

private:
    void TakeSection(const CPluginLoader::COffers& offers, QStringList* problems);
    void TakeMenusAndToolBars(const CPluginLoader::COffers& offers, QStringList* problems);
    void FindSectionControls(QStringList* problems);
    void FindCommands(QStringList* problems);
    void CheckHotKeys(QStringList* problems);
    void CheckSplitButton(QStringList* problems);
    QAction* FindRegisteredAction(const QString& owner, const QString& name) const;

    std::unique_ptr<QMainWindow> m_window;
    QWidget* m_modifyPanel = nullptr;
    std::unique_ptr<CSceneModel> m_scene;
    CPluginWidgets m_widgets;
};

} // namespace KV
