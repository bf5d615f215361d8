#include "plugin/CLinkagePlugin.h"

#include "host/KVEventSender.h"
#include "host/KVKorvelInterface.h"
#include "plugin/HotKeyRegistration.h"
#include "plugin/LinkageConstants.h"
#include "section/CLinkageSection.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QStringList>
#include <QToolBar>
#include <QToolButton>
#include <QtDebug>

#include <new>

namespace KV {

namespace {

// The host keeps its own lists; an entry whose object is gone is still handed over, as null.
template<typename T>
UB::Result CopyToHostList(const UB::CArrayList<QPointer<T>>& entries, QList<T*>& list)
{
    list.reserve(entries.GetCount());
    for (const QPointer<T>& entry : entries)
        list.append(entry.data());
    return UB::kOk;
}

} // namespace

CLinkagePlugin::CLinkagePlugin(QObject* parent)
    : QObject(parent)
    , commandState(ui)
{}

CLinkagePlugin::~CLinkagePlugin() = default;

// ---- Start-up ---------------------------------------------------------------------------------

UB::Result CLinkagePlugin::Initialize(const QString& first, const QString& second,
                                      CKorvelInterface* host)
{
    if (host == nullptr) {
        qWarning("KVLinkageSection: Initialize was given no host interface; nothing is built");
        return UB::kNoHost;
    }
    UB::Result result = InitResource(first, QLatin1String(kLinkageResourceFile), second, host);
    if (result.IsFailed())
        return result;

    m_widgetBuilder.SetUiPath(QLatin1String(kActionsLayout));
    m_widgetBuilder.SetLayoutIniPath(QLatin1String(kLinkageLayoutSettings));
    result = m_widgetBuilder.InitToolbarAndMenuUi(&ui, m_toolBars, m_menus, host);
    if (result.IsFailed())
        return result;
    // Every later step works on these objects; the framework has already named the missing.
    if (!m_widgetBuilder.GetMissingNames().isEmpty() || m_toolBars.IsEmpty() ||
        m_toolBars[0].isNull()) {
        qWarning("KVLinkageSection: the actions layout '%s' is incomplete; the Link commands "
                 "are not set up",
                 kActionsLayout);
        return UB::kNotCreated;
    }

    m_hotKeyCategory = RegisterLinkageHotKeyCategory(host, QLatin1String(kPluginHotKeyOwner));

    result = CreateLinkToolButton();
    if (result.IsFailed())
        return result;
    commandState.SetLinkToolButton(linkToolButton);
    commandState.EnableMenu(ui.qtLinkMenu, false);

    result = CreateSection(first, second, host);
    if (result.IsFailed())
        return result;
    commandState.SetHost(host, section);

    ConnectCommands();
    connect(
        ui.qtLinkageSectionHotkey, &QAction::triggered, ui.qtLinkageSectionHotkey,
        [this](bool) { OnLinkageSectionHotkey(); }, Qt::DirectConnection);
    RegisterHotKeys();
    ConnectHostEvents();
    return UB::kOk;
}

// The split button takes the place of the tool bar's placeholder action: its main part is
// Link, its drop-down offers Link and Unlink.
UB::Result CLinkagePlugin::CreateLinkToolButton()
{
    linkToolButton = new (std::nothrow) QToolButton();
    if (linkToolButton == nullptr)
        return UB::kNotCreated;
    linkToolButton->setObjectName(ui.qtLinkMenuAction->objectName());
    auto* menu = new (std::nothrow) QMenu(linkToolButton);
    if (menu == nullptr)
        return UB::kNotCreated;
    menu->addAction(ui.qtLinkAction);
    menu->addAction(ui.qtUnlinkAction);
    linkToolButton->setPopupMode(QToolButton::MenuButtonPopup);
    linkToolButton->setIcon(ui.qtLinkAction->icon());
    linkToolButton->setToolTip(ui.qtLinkAction->toolTip());
    linkToolButton->setMenu(menu);
    connect(linkToolButton, &QToolButton::clicked, ui.qtLinkAction, &QAction::triggered);

    QToolBar* toolBar = m_toolBars[0];
    toolBar->insertWidget(ui.qtLinkMenuAction, linkToolButton);
    toolBar->removeAction(ui.qtLinkMenuAction);
    return UB::kOk;
}

UB::Result CLinkagePlugin::CreateSection(const QString& first, const QString& second,
                                         CKorvelInterface* host)
{
    section = new (std::nothrow) CLinkageSection(host->GetSceneManager()->GetMainWindow());
    if (section == nullptr)
        return UB::kAllocationFailed;
    return section->Initialize(first, second, host);
}

void CLinkagePlugin::ConnectCommands()
{
    connect(ui.qtLinkAction, &QAction::triggered, section, &CLinkageSection::OnPickParent);
    connect(ui.qtUnlinkAction, &QAction::triggered, section, &CLinkageSection::OnUnlink);
    connect(ui.qtCLinkToAction, &QAction::triggered, section, &CLinkageSection::OnPickParent);
    connect(ui.qtCUnlinkAction, &QAction::triggered, section, &CLinkageSection::OnUnlink);
    connect(ui.qtCLinkToCameraAction, &QAction::triggered, section,
            &CLinkageSection::OnLinkToCamera);
}

void CLinkagePlugin::RegisterHotKeys()
{
    for (QAction* action : {ui.qtLinkageSectionHotkey, ui.qtLinkAction, ui.qtUnlinkAction})
        RegisterLinkageHotKeyAction(m_host, m_hotKeyCategory, action);
}

void CLinkagePlugin::ConnectHostEvents()
{
    // This connection lives as long as the event sender, which may outlive the plug-in.
    CEventSender* sender = m_host->GetEventSender();
    const QPointer<CLinkagePlugin> self(this);
    connect(
        sender, &CEventSender::PickedModeChanged, sender,
        [self](EPickMode, EPickMode) {
            if (self)
                self->UpdateUi();
        },
        Qt::DirectConnection);
    connect(m_host->GetEventSender(), &CEventSender::FileLoaded, this,
            &CLinkagePlugin::OnFileLoaded);
    connect(m_host->GetEventSender(), &CEventSender::ObjectSelectionChanged, this,
            &CLinkagePlugin::OnObjectSelectionChanged);
    connect(m_host->GetEventSender(), &CEventSender::ObjectDeleted, this,
            &CLinkagePlugin::UpdateUi);
    connect(m_host->GetEventSender(), &CEventSender::DialogModeChanged, this,
            &CLinkagePlugin::OnDialogModeChanged);
    connect(m_host->GetEventSender(), &CEventSender::HierarchyChanged, this,
            &CLinkagePlugin::UpdateUi);
    connect(m_host->GetEventSender(), &CEventSender::ObjectDataChanged, this,
            &CLinkagePlugin::OnObjectDataChanged);
    connect(m_host->GetEventSender(), &CEventSender::ObjectDataChanged2, this,
            &CLinkagePlugin::OnObjectDataChanged2);
    connect(m_host->GetEventSender(), &CEventSender::CurrentTimeChanged, this,
            &CLinkagePlugin::UpdateUi);
    connect(m_host->GetEventSender(), &CEventSender::Played, this,
            &CLinkagePlugin::OnPlayStopChanged);
    connect(m_host->GetEventSender(), &CEventSender::Stopped, this,
            &CLinkagePlugin::OnPlayStopChanged);
}

// ---- Host list queries ------------------------------------------------------------------------

UB::Result CLinkagePlugin::GetDockWidgetList(QList<QDockWidget*>&)
{
    return UB::kNothingDone;
}

UB::Result CLinkagePlugin::GetStatusBarWidgetList(QList<QWidget*>&)
{
    return UB::kNothingDone;
}

UB::Result CLinkagePlugin::GetSectionList(QList<CSectionInterface*>& list)
{
    list.append(section);
    return UB::kOk;
}

UB::Result CLinkagePlugin::GetContextList(QList<QAction*>& list)
{
    return CopyToHostList(m_contextActions, list);
}

UB::Result CLinkagePlugin::GetMenusList(QList<QMenu*>& list)
{
    return CopyToHostList(m_menus, list);
}

UB::Result CLinkagePlugin::GetToolBarsList(QList<QToolBar*>& list)
{
    return CopyToHostList(m_toolBars, list);
}

ECompatibleApp CLinkagePlugin::GetCompatibleApps()
{
    return eAppAll;
}

// ---- Command state ----------------------------------------------------------------------------

UB::Result CLinkagePlugin::UpdateUi()
{
    return commandState.UpdateUi();
}

void CLinkagePlugin::OnFileLoaded(EFileType type)
{
    commandState.OnFileLoaded(type);
}

void CLinkagePlugin::OnObjectSelectionChanged()
{
    commandState.OnObjectSelectionChanged();
}

void CLinkagePlugin::OnDialogModeChanged(EDialogMode mode)
{
    commandState.OnDialogModeChanged(mode);
}

void CLinkagePlugin::OnObjectDataChanged(const UB::CArrayList<UB::CHandle*>&,
                                         EObjectChangedDataType type)
{
    commandState.OnObjectDataChanged(type);
}

void CLinkagePlugin::OnObjectDataChanged2(CBaseEvent* event)
{
    commandState.OnObjectDataChanged2(event);
}

void CLinkagePlugin::OnPlayStopChanged()
{
    commandState.OnPlayStopChanged();
}

void CLinkagePlugin::OnLinkageSectionHotkey()
{
    if (section == nullptr || !section->isVisible())
        return;
    m_host->GetPickManager()->ShowSection(section->GetSectionPanel(), section->GetSectionTab(),
                                          section->GetSectionId());
}

} // namespace KV
