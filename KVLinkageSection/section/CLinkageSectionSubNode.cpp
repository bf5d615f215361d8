// The Linkage section's link-to-sub-node command: runs the link-to-sub-node dialog for the
// selected object and applies or undoes its answer.

#include "section/CLinkageSection.h"

#include "host/KVKorvelInterface.h"
#include "nodetree/CLinkSubNodeDlg.h"

#include <QPointer>
#include <QtDebug>

#include <new>

namespace KV {

namespace {

/// The node kind of an owner that stands for a larger object: the tree shows that object.
constexpr int kPartOwnerKind = 1;

} // namespace

void CLinkageSection::OnLinkToSubNode()
{
    UB::CArrayList<UB::CHandle*> selection;
    Scene()->GetSelectedObjects(selection, true);

    // The button is offered for one object with a parent; with several the last one's counts.
    UB::CHandle* parent = nullptr;
    for (UB::CHandle* object : selection)
        Scene()->GetLinkParent(object, Scene()->GetCurrentTime(), parent);
    if (parent == nullptr)
        return;

    UB::CHandle* owner = nullptr;
    Scene()->GetNodeOwner(parent, owner);
    int kind = 0;
    Scene()->GetNodeKind(owner, kind);
    if (kind == kPartOwnerKind) {
        UB::CHandle* root = nullptr;
        Scene()->GetOwnerRoot(owner, root);
        owner = root;
    }

    if (linkSubNodeDlg == nullptr) {
        linkSubNodeDlg = new (std::nothrow) CLinkSubNodeDlg(this);
        if (linkSubNodeDlg == nullptr) {
            qWarning("KVLinkageSection: no memory for the link-to-sub-node dialog");
            return;
        }
        // An incomplete dialog still closes and restores; the framework has said what lacks.
        linkSubNodeDlg->Initialize(m_furtherText, m_host);
    }

    // Every preview and the restore on Cancel put the object back at this transform. A query
    // that writes nothing leaves the preset record, like every other query here. Both are
    // written before the tree changes: emptying a search already previews from them.
    TransformRecord transform;
    Scene()->GetTransform(selection[0], Scene()->GetCurrentTime(), transform);
    linkSubNodeDlg->previousParent = parent;
    linkSubNodeDlg->savedTransform = transform;
    linkSubNodeDlg->BuildTree(owner, false);
    linkSubNodeDlg->ClearSearch();
    linkSubNodeDlg->SelectNode(parent);

    const QPointer<CLinkageSection> self(this);
    const int result = linkSubNodeDlg->exec();
    if (!self)
        return; // the host window went, and the section and its dialog with it

    // Host results are not looked at: the host's events and the refresh show the outcome.
    CLinkSubNodeDlg* dialog = linkSubNodeDlg;
    if (result == QDialog::Accepted) {
        const UBTime now = Scene()->GetCurrentTime();
        m_host->GetLinkManager()->LinkObjects(selection, dialog->m_chosenNode, dialog->alignMode,
                                              now, true, true);
        return;
    }
    dialog->alignMode = 0;
    UBTime now = Scene()->GetCurrentTime();
    m_host->GetLinkManager()->LinkObjects(selection, dialog->previousParent, 0, now, false, false);
    now = Scene()->GetCurrentTime();
    m_host->GetLinkManager()->SetTransform(selection[0], now, dialog->savedTransform);
}

} // namespace KV
