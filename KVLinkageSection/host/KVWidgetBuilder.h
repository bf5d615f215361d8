#pragma once

#include "host/KVPluginQtGlobal.h"
#include "host/UBTypes.h"

#include <QPointer>
#include <QString>
#include <QVector>

#include <memory>

class CUiComponent;
class QDialog;
class QMainWindow;
class QMenu;
class QObject;
class QToolBar;
class QWidget;

namespace KV {

class CKorvelInterface;

/// Builds a `.ui` layout from the plug-in's resource file at run time and has a UI component
/// bind its objects by name.
///
/// Binding state: while the ready flag is clear every lookup fails and records its name;
/// the primary root is searched first (itself, then its descendants), the secondary root's
/// descendants only when the primary tree has no match. A build sets the primary root to
/// the layout's top-level object and the secondary root to the widget or dialog the layout
/// is placed in (none for tool bars and menus).
///
/// Missing objects do not fail a build: the build returns 0, the component's pointers for
/// them stay null, and one warning lists every missing name of that build.
///
/// Layout settings file (SetLayoutIniPath): an INI-like text file read from the resource.
/// Lines under "[StyleSheet]" up to the next "[Section]" line form a Qt style sheet that the
/// build applies to the widget or dialog the layout is placed in (and to the layout's
/// window for tool bars and menus). Lines starting with ";" or "#" are comments; other
/// sections are read as key=value pairs and ignored by this framework version. A path that
/// cannot be read gives a warning and no style sheet; it does not fail the build.
class KVPLUGINQT_EXPORT CWidgetBuilder
{
public:
    CWidgetBuilder();
    ~CWidgetBuilder();
    CWidgetBuilder(const CWidgetBuilder&) = delete;
    CWidgetBuilder& operator=(const CWidgetBuilder&) = delete;

    /// Stores the layout's resource path as the form path and derives the preset path.
    /// Defined by the plug-in's SDK, not by the framework.
    void SetUiPath(QString path);
    void SetLayoutIniPath(QString path);

    /// Loads the form as a QMainWindow (kept by the builder, never shown), binds it, and
    /// appends the window's tool bars and its menu bar's menus to the two lists.
    UB::Result InitToolbarAndMenuUi(CUiComponent* component,
                                    UB::CArrayList<QPointer<QToolBar>>& toolBars,
                                    UB::CArrayList<QPointer<QMenu>>& menus, CKorvelInterface* host);
    /// Loads the form into `widget` (a section) and binds it.
    UB::Result InitUi(QWidget* widget, CUiComponent* component, CKorvelInterface* host,
                      bool applyStyle);
    /// Loads the form into `dialog` (a plug-in dialog) and binds it.
    UB::Result InitUi(QDialog* dialog, CUiComponent* component, CKorvelInterface* host,
                      bool applyStyle, bool isDialog);

    // Binding state read and written by FindWidget.
    bool IsReady() const { return m_ready; }
    void SetReady(bool ready) { m_ready = ready; }
    QObject* GetPrimaryRoot() const { return m_primaryRoot; }
    QObject* GetSecondaryRoot() const { return m_secondaryRoot; }
    void SetRoots(QObject* primary, QObject* secondary);
    const QVector<QString>& GetMissingNames() const { return m_missingNames; }
    void AppendMissingName(const QString& name) { m_missingNames.append(name); }

    const QString& GetFormPath() const { return m_formPath; }
    const QString& GetPresetPath() const { return m_presetPath; }
    const QString& GetLayoutIniPath() const { return m_layoutIniPath; }
    /// The style sheet read from the layout settings file, empty when none.
    const QString& GetStyleSheet() const { return m_styleSheet; }
    const QString& GetSetupString() const { return m_setupString; }
    void SetSetupString(const QString& text) { m_setupString = text; }

    /// The layout window of InitToolbarAndMenuUi, null before.
    QMainWindow* GetLayoutWindow() const;

    /// Codes of the framework's own failures.
    static constexpr UB::Result kLayoutNotLoaded{UB::ToCode(0x80040001u)};
    static constexpr UB::Result kNoComponent{UB::ToCode(0x80040002u)};

private:
    QWidget* LoadForm(QWidget* parent, QString* error);
    UB::Result Bind(CUiComponent* component, QObject* primary, QObject* secondary);

    bool m_ready = false;
    QVector<QString> m_missingNames;
    QObject* m_primaryRoot = nullptr;
    QObject* m_secondaryRoot = nullptr;
    QString m_formPath;
    QString m_presetPath;
    QString m_layoutIniPath;
    QString m_styleSheet;
    QString m_setupString;
    QPointer<QMainWindow> m_layoutWindow;
};

} // namespace KV
