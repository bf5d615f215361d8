#pragma once

#include "CLinkPlanner.h"
#include "CNodeKeys.h"

#include <QUndoCommand>

#include <functional>

namespace KV {

/// One node's keys before and after a committed edit.
struct CKeyChange
{
    CSceneNode* node = nullptr;
    CNodeKeys before;
    CNodeKeys after;
};

/// A committed link edit as the undo history keeps it: the keys of every node it touched
/// (including nodes moved by the previews that led up to it), and the link changes to
/// announce again when the edit was announced in the first place.
struct CKeyEdit
{
    QVector<CKeyChange> keys;
    QVector<CLinkChange> links;
    UBTime time = 0;
    bool notify = false;
};

/// The undo step of a committed link edit. The edit is already in the scene when the step is
/// pushed, so the first redo does nothing; later undo and redo hand the edit to the scene.
class CLinkEditCommand : public QUndoCommand
{
public:
    using Apply = std::function<void(const CKeyEdit& edit, bool undo)>;

    CLinkEditCommand(const QString& text, CKeyEdit edit, Apply apply);

    void undo() override;
    void redo() override;

private:
    CKeyEdit m_edit;
    Apply m_apply;
    bool m_inScene = true;
};

} // namespace KV
