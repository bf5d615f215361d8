#include "plugin/CLinkCommandState.h"

#include "host/KVKorvelInterface.h"
#include "plugin/CLinkageActionUiComponent.h"
#include "plugin/LinkEventPrototype.h"
#include "plugin/LinkageConstants.h"
#include "section/CLinkageSection.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

namespace KV {

CLinkCommandState::CLinkCommandState(const CLinkageActionUiComponent& ui)
    : ui(ui)
{}

void CLinkCommandState::SetHost(CKorvelInterface* newHost, CLinkageSection* linkageSection)
{
    host = newHost;
    section = linkageSection;
}

// ---- Refresh ----------------------------------------------------------------------------------

UB::Result CLinkCommandState::UpdateUi()
{
    UB::CArrayList<UB::CHandle*> selection;
    const UB::Result result = host->GetSceneManager()->GetSelectedObjects(selection, true);
    if (result.IsFailed())
        return result;
    if (selection.IsEmpty())
        return RefuseSelection();
    if (selection.GetCount() == 1)
        return UpdateUiSinglePick(selection[0]);
    return UpdateUiMultiPick(selection);
}

UB::Result CLinkCommandState::UpdateUiSinglePick(UB::CHandle*& object)
{
    if (!section->CanLink(UB::CArrayList<UB::CHandle*>{object}))
        return RefuseSelection();
    if (host->GetSceneManager()->IsLinkBlocked(object)) {
        TurnCommandsOff();
        return UB::kOk;
    }

    const bool linkAllowed = !IsPickModeBlockingLink() &&
                             host->GetSceneManager()->GetDialogMode() == eDialogNone &&
                             !host->GetSceneManager()->IsPlaying();
    // Link To Camera takes its final state at once: showing it for a linkable object and
    // hiding it again for one that is not a camera target would change nothing anyone sees,
    // but still send every menu and tool bar that holds the action two changes. Asking the
    // type earlier moves no host call: the widgets in between are not the host's.
    int type = 0;
    host->GetSceneManager()->GetObjectType(object, type); // a failed query reads as type 0
    linkToolButton->setEnabled(linkAllowed);
    ui.qtLinkAction->setEnabled(linkAllowed);
    ui.qtCLinkToAction->setVisible(linkAllowed);
    ui.qtCLinkToCameraAction->setVisible(linkAllowed && type == kLinkToCameraType);

    UB::CHandle* parent = nullptr;
    const UB::Result result = host->GetSceneManager()->GetLinkParent(
        object, host->GetSceneManager()->GetCurrentTime(), parent);
    if (result.IsFailed())
        return result;
    const bool unlinkAllowed = parent != nullptr && linkAllowed;
    ui.qtUnlinkAction->setEnabled(unlinkAllowed);
    ui.qtCUnlinkAction->setVisible(unlinkAllowed);
    return UB::kOk;
}

UB::Result CLinkCommandState::UpdateUiMultiPick(const UB::CArrayList<UB::CHandle*>& objects)
{
    // One list refilled for each object: a large selection costs no list per object.
    UB::CArrayList<UB::CHandle*> single{nullptr};
    for (UB::CHandle* object : objects) {
        single[0] = object;
        if (!section->CanLink(single))
            return RefuseSelection();
    }
    bool allowed = !IsPickModeBlockingLink();
    if (allowed)
        allowed = !IsMultiPickBlockingDialogMode(host->GetSceneManager()->GetDialogMode());
    SetContextMenuVisible(allowed, true);
    EnableMenu(ui.qtLinkMenu, allowed);
    linkToolButton->setEnabled(allowed);
    return UB::kOk;
}

bool CLinkCommandState::IsPickModeBlockingLink() const
{
    return IsLinkBlockingPickMode(host->GetSceneManager()->GetPickMode());
}

// ---- Groups of commands -----------------------------------------------------------------------

void CLinkCommandState::EnableMenu(QMenu* menu, bool enable)
{
    linkToolButton->setEnabled(enable);
    for (QAction* action : menu->actions())
        action->setEnabled(enable);
}

void CLinkCommandState::SetContextMenuVisible(bool visible, bool hideCamera)
{
    ui.qtCLinkToAction->setVisible(visible);
    ui.qtCLinkToCameraAction->setVisible(visible && !hideCamera);
    ui.qtCUnlinkAction->setVisible(visible);
}

void CLinkCommandState::EnableMenubarAndToolbar(bool enable)
{
    if (enable)
        UpdateUi();
    else
        TurnCommandsOff();
}

void CLinkCommandState::TurnCommandsOff()
{
    SetContextMenuVisible(false, true);
    EnableMenu(ui.qtLinkMenu, false);
}

// Nothing selected, or an object that may not be linked: the same off state, menu first.
UB::Result CLinkCommandState::RefuseSelection()
{
    EnableMenu(ui.qtLinkMenu, false);
    SetContextMenuVisible(false, true);
    return UB::kNothingDone;
}

// ---- Host events ------------------------------------------------------------------------------

void CLinkCommandState::OnFileLoaded(EFileType type)
{
    if (type == eFileScene)
        UpdateUi();
}

void CLinkCommandState::OnObjectSelectionChanged()
{
    // A new selection ends picking a parent for the old one.
    if (host->GetSceneManager()->GetPickMode() == ePickParent)
        host->GetPickManager()->EndPickMode();
    UpdateUi();
}

void CLinkCommandState::OnDialogModeChanged(EDialogMode mode)
{
    EnableMenubarAndToolbar(mode == eDialogNone);
}

void CLinkCommandState::OnObjectDataChanged(EObjectChangedDataType type)
{
    if ((type & eChangedLink) != 0)
        UpdateUi();
}

void CLinkCommandState::OnObjectDataChanged2(CBaseEvent* event)
{
    if (IsLinkEvent(event))
        UpdateUi();
}

void CLinkCommandState::OnPlayStopChanged()
{
    const bool playing = host->GetSceneManager()->IsPlaying();
    section->EnableSection(!playing);
    EnableMenubarAndToolbar(!playing);
}

} // namespace KV
