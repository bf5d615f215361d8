#pragma once

#include "host/KVAbstractSection.h"
#include "host/KVCoreBase.h"
#include "host/KVEnums.h"
#include "section/CLinkageUiComponent.h"

#include <QWidget>

namespace UB {
class CHandle;
}

namespace KV {

class CBaseEvent;
class CKorvelInterface;
class CLinkSubNodeDlg;
class CSceneManager;

/// The Linkage section of the host's Modify panel: shows the selection's link parent and
/// offers pick parent, unlink, link to camera and link to sub-node. It follows the host's
/// events on its own.
class CLinkageSection : public QWidget, public CCoreBase, public CAbstractSection
{
public:
    explicit CLinkageSection(QWidget* parent = nullptr);
    ~CLinkageSection() override;

    /// Builds the section from its layout, connects its buttons and the host's events and
    /// registers the Esc hot key. 0x80000005 without a host.
    virtual UB::Result Initialize(const QString& first, const QString& second,
                                  CKorvelInterface* host);

    int GetSectionPanel() override;
    int GetSectionId() override;
    int GetSectionTab() override;
    QWidget* GetSectionWidget() override;

    /// Whether every object may take part in linking: its type is a linkable one and the host
    /// does not disable linking it. True for an empty list.
    bool CanLink(const UB::CArrayList<UB::CHandle*>& objects);

    // ---- Refresh from the host's events ----------------------------------------------------
    UB::Result UpdateSectionUi();
    UB::Result UpdateSectionSinglePick(UB::CHandle* object);
    UB::Result UpdateSectionMultiPick(const UB::CArrayList<UB::CHandle*>& objects);
    /// The name of the parent all objects share, or empty when one has none or they differ.
    QString GetCommonParentName(const UB::CArrayList<UB::CHandle*>& objects);
    void OnFileLoaded(KV::EFileType type);
    void OnObjectDataChanged2(KV::CBaseEvent* event);
    void OnPickedModeChanged(KV::EPickMode newMode, KV::EPickMode oldMode);

    // ---- Commands --------------------------------------------------------------------------
    void OnPickParent();
    void OnEscHotkey();
    void OnUnlink();
    void OnLinkToCamera();
    void OnLinkToSubNode();

private:
    CSceneManager* Scene() const;
    void ConnectHostEvents();
    void SetLabelStyleForType(int type);

    CLinkageUiComponent ui;
    CLinkSubNodeDlg* linkSubNodeDlg = nullptr;
};

} // namespace KV
