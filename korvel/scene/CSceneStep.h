#pragma once

#include "CLinkPlanner.h"
#include "CSceneState.h"

#include <QSet>
#include <QUndoCommand>

#include <functional>

namespace KV {

/// One change inside an undo step. Parts are undone backwards and redone in order, so a step
/// may hold any mix of key edits and structure changes.
struct CStepPart
{
    enum class EKind
    {
        Keys,    // one node's keys changed from `before` to `after`
        Added,   // `roots` and everything below them were added
        Removed, // `roots` and everything below them were removed
    };
    EKind kind = EKind::Keys;
    CSceneNode* node = nullptr;
    CNodeKeys before;
    CNodeKeys after;
    QVector<CSceneNode*> roots;
    /// What the last removal of `roots` changed; renewed each time they are removed again.
    CRemoval removal;
};

/// One step of the scene's undo history: everything one host command committed. Committed
/// edits of the same command merge into one step; its text names what the step did. The
/// edits are already in the scene when the step is pushed, so its first redo does nothing.
class CSceneStep : public QUndoCommand
{
public:
    using Apply = std::function<void(CSceneStep& step, bool undo)>;

    /// `command` is the serial of the host command that made the step; `label` names the
    /// structure changes ("Delete Box"), link changes name themselves.
    CSceneStep(int command, const QString& label, Apply apply);

    int id() const override;
    bool mergeWith(const QUndoCommand* other) override;
    void undo() override;
    void redo() override;

    QVector<CStepPart> parts;
    /// Every link change, in order; those with `notify` are announced again on undo and redo.
    QVector<CLinkChange> links;

    /// Renames the step after its label and link changes.
    void UpdateText();

private:
    void CountLinks(const QVector<CLinkChange>& added);

    // What the text needs of the links, kept as they come so that merging stays cheap.
    QSet<const CSceneNode*> m_objects;
    QSet<const CSceneNode*> m_targets;
    const CSceneNode* m_firstObject = nullptr;
    int m_counted = 0;
    int m_command;
    QString m_label;
    Apply m_apply;
    bool m_inScene = true;
};

} // namespace KV
