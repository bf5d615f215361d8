#pragma once

#include "host/KVEnums.h"
#include "host/UBTypes.h"

class CLinkageActionUiComponent;
class QMenu;
class QToolButton;

namespace UB {
class CHandle;
}

namespace KV {

class CBaseEvent;
class CKorvelInterface;
class CLinkageSection;

/// Keeps the Link commands in step with the host: which of them are enabled and shown follows
/// the selection, its objects' types and links, the pick and dialog modes and playback. Every
/// refresh asks the host afresh; nothing is kept between refreshes.
class CLinkCommandState
{
public:
    explicit CLinkCommandState(const CLinkageActionUiComponent& ui);

    /// The split button is switched with the link menu from its creation on.
    void SetLinkToolButton(QToolButton* button) { linkToolButton = button; }
    /// The host and the section's linkability rule, from the section's creation on.
    void SetHost(CKorvelInterface* host, CLinkageSection* section);

    /// 0 refreshed, 1 nothing linkable selected (commands off), or the host's failure code.
    UB::Result UpdateUi();

    // What each host event does to the commands.
    void OnFileLoaded(EFileType type);
    void OnObjectSelectionChanged();
    void OnDialogModeChanged(EDialogMode mode);
    void OnObjectDataChanged(EObjectChangedDataType type);
    void OnObjectDataChanged2(CBaseEvent* event);
    void OnPlayStopChanged();

    /// The split button and every action `menu` holds at once.
    void EnableMenu(QMenu* menu, bool enable);

private:
    UB::Result UpdateUiSinglePick(UB::CHandle*& object);
    UB::Result UpdateUiMultiPick(const UB::CArrayList<UB::CHandle*>& objects);
    bool IsPickModeBlockingLink() const;

    void SetContextMenuVisible(bool visible, bool hideCamera);
    void EnableMenubarAndToolbar(bool enable);
    void TurnCommandsOff();
    /// The off state for a selection that may not be linked; code 1.
    UB::Result RefuseSelection();

    const CLinkageActionUiComponent& ui;
    QToolButton* linkToolButton = nullptr;
    CKorvelInterface* host = nullptr;
    CLinkageSection* section = nullptr;
};

} // namespace KV
