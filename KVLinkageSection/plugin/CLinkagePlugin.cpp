#include "plugin/CLinkagePlugin.h"

#include "host/KVEventSender.h"
#include "host/KVKorvelInterface.h"
#include "plugin/HotKeyRegistration.h"
#include "plugin/LinkEventPrototype.h"
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

const char kResourceFile[] = "KVLinkageSection.rcc";
const char kActionsLayout[] = ":/plugin/KVLinkageSection/Linkage_Action.ui";
const char kLayoutSettings[] = ":/plugin/KVLinkageSection/LayoutUI.ini";
const char kHotKeyOwner[] = "KVLinkagePlugin";
constexpr int kLinkToCameraType = 41;

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
    UB::Result result = InitResource(first, QLatin1String(kResourceFile), second, host);
    if (result.IsFailed())
        return result;

    m_widgetBuilder.SetUiPath(QLatin1String(kActionsLayout));
    m_widgetBuilder.SetLayoutIniPath(QLatin1String(kLayoutSettings));
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

    m_hotKeyCategory = RegisterLinkageHotKeyCategory(host, QLatin1String(kHotKeyOwner));

    result = CreateLinkToolButton();
    if (result.IsFailed())
        return result;
    EnableMenu(ui.qtLinkMenu, false);

    result = CreateSection(first, second, host);
    if (result.IsFailed())
        return result;

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
    UB::CArrayList<UB::CHandle*> selection;
    const UB::Result result = m_host->GetSceneManager()->GetSelectedObjects(selection, true);
    if (result.IsFailed())
        return result;
    if (selection.IsEmpty())
        return RefuseSelection();
    if (selection.GetCount() == 1)
        return UpdateUiSinglePick(selection[0]);
    return UpdateUiMultiPick(selection);
}

UB::Result CLinkagePlugin::UpdateUiSinglePick(UB::CHandle*& object)
{
    if (!CanLinkObject(object))
        return RefuseSelection();
    if (m_host->GetSceneManager()->IsLinkBlocked(object)) {
        TurnCommandsOff();
        return UB::kOk;
    }

    const bool linkAllowed = !IsPickModeBlockingLink() &&
                             m_host->GetSceneManager()->GetDialogMode() == eDialogNone &&
                             !m_host->GetSceneManager()->IsPlaying();
    linkToolButton->setEnabled(linkAllowed);
    ui.qtLinkAction->setEnabled(linkAllowed);
    ui.qtCLinkToAction->setVisible(linkAllowed);
    ui.qtCLinkToCameraAction->setVisible(linkAllowed);

    int type = 0;
    m_host->GetSceneManager()->GetObjectType(object, type); // a failed query reads as type 0
    if (type != kLinkToCameraType)
        ui.qtCLinkToCameraAction->setVisible(false);

    UB::CHandle* parent = nullptr;
    const UB::Result result = m_host->GetSceneManager()->GetLinkParent(
        object, m_host->GetSceneManager()->GetCurrentTime(), parent);
    if (result.IsFailed())
        return result;
    const bool unlinkAllowed = parent != nullptr && linkAllowed;
    ui.qtUnlinkAction->setEnabled(unlinkAllowed);
    ui.qtCUnlinkAction->setVisible(unlinkAllowed);
    return UB::kOk;
}

UB::Result CLinkagePlugin::UpdateUiMultiPick(const UB::CArrayList<UB::CHandle*>& objects)
{
    // One list refilled for each object: a large selection costs no list per object.
    UB::CArrayList<UB::CHandle*> single{nullptr};
    for (UB::CHandle* object : objects) {
        single[0] = object;
        if (!section->CanLink(single))
            return RefuseSelection();
    }
    bool allowed = !IsPickModeBlockingLink();
    if (allowed) {
        const EDialogMode dialogMode = m_host->GetSceneManager()->GetDialogMode();
        allowed = dialogMode != eDialogExclusiveA && dialogMode != eDialogExclusiveB;
    }
    SetContextMenuVisible(allowed, true);
    EnableMenu(ui.qtLinkMenu, allowed);
    linkToolButton->setEnabled(allowed);
    return UB::kOk;
}

bool CLinkagePlugin::CanLinkObject(UB::CHandle* object) const
{
    return section->CanLink(UB::CArrayList<UB::CHandle*>{object});
}

bool CLinkagePlugin::IsPickModeBlockingLink() const
{
    const EPickMode mode = m_host->GetSceneManager()->GetPickMode();
    return mode == ePickBlockingA || mode == ePickBlockingB;
}

void CLinkagePlugin::EnableMenu(QMenu* menu, bool enable)
{
    linkToolButton->setEnabled(enable);
    for (QAction* action : menu->actions())
        action->setEnabled(enable);
}

void CLinkagePlugin::SetContextMenuVisible(bool visible, bool hideCamera)
{
    ui.qtCLinkToAction->setVisible(visible);
    ui.qtCLinkToCameraAction->setVisible(visible && !hideCamera);
    ui.qtCUnlinkAction->setVisible(visible);
}

void CLinkagePlugin::EnableMenubarAndToolbar(bool enable)
{
    if (enable)
        UpdateUi();
    else
        TurnCommandsOff();
}

void CLinkagePlugin::TurnCommandsOff()
{
    SetContextMenuVisible(false, true);
    EnableMenu(ui.qtLinkMenu, false);
}

// Nothing selected, or an object that may not be linked: the same off state, menu first.
UB::Result CLinkagePlugin::RefuseSelection()
{
    EnableMenu(ui.qtLinkMenu, false);
    SetContextMenuVisible(false, true);
    return UB::kNothingDone;
}

// ---- Host events ------------------------------------------------------------------------------

void CLinkagePlugin::OnFileLoaded(EFileType type)
{
    if (type == eFileScene)
        UpdateUi();
}

void CLinkagePlugin::OnObjectSelectionChanged()
{
    // A new selection ends picking a parent for the old one.
    if (m_host->GetSceneManager()->GetPickMode() == ePickParent)
        m_host->GetPickManager()->EndPickMode();
    UpdateUi();
}

void CLinkagePlugin::OnDialogModeChanged(EDialogMode mode)
{
    EnableMenubarAndToolbar(mode == eDialogNone);
}

void CLinkagePlugin::OnObjectDataChanged(const UB::CArrayList<UB::CHandle*>&,
                                         EObjectChangedDataType type)
{
    if ((type & eChangedLink) != 0)
        UpdateUi();
}

void CLinkagePlugin::OnObjectDataChanged2(CBaseEvent* event)
{
    if (IsLinkEvent(event))
        UpdateUi();
}

void CLinkagePlugin::OnPlayStopChanged()
{
    const bool playing = m_host->GetSceneManager()->IsPlaying();
    section->EnableSection(!playing);
    EnableMenubarAndToolbar(!playing);
}

void CLinkagePlugin::OnLinkageSectionHotkey()
{
    if (section == nullptr || !section->isVisible())
        return;
    m_host->GetPickManager()->ShowSection(section->GetSectionPanel(), section->GetSectionTab(),
                                          section->GetSectionId());
}

} // namespace KV
