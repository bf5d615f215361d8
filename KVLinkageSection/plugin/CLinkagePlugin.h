#pragma once

#include "host/KVAbstractPlugin.h"
#include "host/KVEnums.h"
#include "plugin/CLinkCommandState.h"
#include "plugin/CLinkageActionUiComponent.h"

#include <QObject>

class QToolButton;

namespace UB {
class CHandle;
}

namespace KV {

class CBaseEvent;
class CLinkageSection;

/// The object the host loads from the library. Its Initialize builds the Link commands for the
/// host's menus, context menu and general tool bar, the Linkage section of the Modify panel,
/// and the hot keys; afterwards it keeps the commands in step with the host's events.
class CLinkagePlugin : public QObject, public CAbstractPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "Ostrevan.Korvel.CPluginInterface/7.0")
    Q_INTERFACES(KV::CAbstractPlugin)

public:
    explicit CLinkagePlugin(QObject* parent = nullptr);
    ~CLinkagePlugin() override;

    UB::Result Initialize(const QString& first, const QString& second,
                          CKorvelInterface* host) override;
    /// The plug-in offers no dock widgets: code 1.
    UB::Result GetDockWidgetList(QList<QDockWidget*>& list) override;
    /// The plug-in offers no status bar widgets: code 1.
    UB::Result GetStatusBarWidgetList(QList<QWidget*>& list) override;
    /// Appends the Linkage section (null while there is none).
    UB::Result GetSectionList(QList<CSectionInterface*>& list) override;
    UB::Result GetContextList(QList<QAction*>& list) override;
    UB::Result GetMenusList(QList<QMenu*>& list) override;
    UB::Result GetToolBarsList(QList<QToolBar*>& list) override;
    ECompatibleApp GetCompatibleApps() override;

    /// Recomputes which Link commands are enabled and shown from the host's current state:
    /// 0 refreshed, 1 nothing linkable selected (commands off), or the host's failure code.
    UB::Result UpdateUi();

protected:
    void OnFileLoaded(KV::EFileType type);
    void OnObjectSelectionChanged();
    void OnDialogModeChanged(KV::EDialogMode mode);
    void OnObjectDataChanged(const UB::CArrayList<UB::CHandle*>& objects,
                             KV::EObjectChangedDataType type);
    void OnObjectDataChanged2(KV::CBaseEvent* event);
    void OnPlayStopChanged();

private:
    UB::Result CreateLinkToolButton();
    UB::Result CreateSection(const QString& first, const QString& second, CKorvelInterface* host);
    void ConnectCommands();
    void RegisterHotKeys();
    void ConnectHostEvents();

    void OnLinkageSectionHotkey();

    CLinkageActionUiComponent ui;
    QToolButton* linkToolButton = nullptr;
    CLinkageSection* section = nullptr;
    /// The rules for which commands are on; the handlers above hand every event to them.
    CLinkCommandState commandState;
};

} // namespace KV
