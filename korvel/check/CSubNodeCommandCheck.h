#pragma once

#include "CSceneSnapshot.h"
#include "host/KVKorvelInterface.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace KV {

class CHostQueries;
class CSceneModel;

/// What the link-to-sub-node command must ask of the host around its dialog, judged from the
/// host's calls: previews that neither commit nor announce a link, and without an alignment
/// name no other node than the previous parent; after OK one link of the selection to the
/// chosen node with the chosen alignment; after Cancel the previous parent and the saved
/// transform back. And what it must leave on the scene, judged from snapshots: every preview
/// puts the first object where the dialog shows it; once the command has ended, Cancel leaves
/// the scene as it was and OK one undo step that Undo takes back wholly.
class CSubNodeCommandCheck
{
public:
    CSubNodeCommandCheck(CSceneModel& scene, CHostQueries& queries);

    /// Notes what the command finds when the user clicks: the selection, the last selected
    /// object's parent and its owner, the first object's transform.
    void Begin();
    UB::CHandle* PreviousParent() const { return m_previousParent; }
    /// The object whose nodes the dialog lists.
    UB::CHandle* Owner() const { return m_owner; }

    /// The dialog may end with the next step, showing `target` with `alignment`: what the
    /// command does from here on is its answer.
    void MayEnd(UB::CHandle* target, int alignment);
    /// After the dialog was accepted or not.
    void CheckEnd(bool accepted, QStringList* problems) const;
    /// While the dialog is open: with one item selected, showing `chosen` with `alignment`,
    /// the first object is previewed there; before any preview the scene is as it was.
    void CheckPreview(int selectedItems, UB::CHandle* chosen, int alignment,
                      const std::function<bool(const QString&)>& faulted,
                      QStringList* problems) const;
    /// Once the host command that ran the dialog has ended.
    void CheckAfterCommand(bool accepted, QStringList* problems) const;

    /// A node's name as the checker's reports show it.
    QString Render(UB::CHandle* handle) const;

private:
    QString Render(const HandleList& handles) const;
    void CheckPreviews(QStringList* problems) const;

    CSceneModel& m_scene;
    CHostQueries& m_queries;

    HandleList m_selection;
    UB::CHandle* m_previousParent = nullptr;
    UB::CHandle* m_owner = nullptr;
    UBTime m_time = 0;
    TransformRecord m_savedTransform;
    TransformRecord m_beforeWorld;
    CSceneSnapshot m_before;
    int m_openJournal = 0;
    int m_endJournal = 0;
    QString m_finalTarget;
    int m_finalAlign = 0;
};

} // namespace KV
