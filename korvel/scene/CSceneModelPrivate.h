#pragma once

// The scene model's inner state, shared by the source files that implement its parts.

#include "CCallJournal.h"
#include "CFaultTable.h"
#include "CHotKeyRegistry.h"
#include "CSceneNode.h"
#include "CSceneState.h"
#include "CSceneStep.h"
#include "KVSceneModel.h"

#include <QPointer>
#include <QUndoStack>
#include <QWidget>

namespace KV {

struct CSceneModel::Private
{
    explicit Private(CSceneModel* model);

    CSceneModel* q;
    std::unique_ptr<CSceneState> state;
    CEventSender* sender;
    QUndoStack* undo;
    CCallJournal journal;
    CFaultTable faults;
    CHotKeyRegistry hotKeys;
    QPointer<QWidget> mainWindow;
    int pickMode = 0;
    int dialogMode = 0;
    bool playing = false;
    /// Keys of every node moved by uncommitted edits that have not been committed or taken
    /// back, as they were before the first of those edits; `previewOrder` keeps the order.
    QHash<CSceneNode*, CNodeKeys> previewBaseline;
    QVector<CSceneNode*> previewOrder;
    /// Whether a pending preview was announced with host events.
    bool previewAnnounced = false;
    /// How deeply host commands are nested now, and the serial of the outermost one.
    int commandDepth = 0;
    int commandSerial = 0;
    /// The calls that failed during the open command, as the journal renders them.
    QVector<CJournalEntry> commandFailures;
    bool modified = false;

    // ---- Journal -----------------------------------------------------------------------------

    QString Handle(const UB::CHandle* handle) const;
    QString Handles(const HandleList& handles) const;

    /// Records one call; the argument and output texts are only made while the journal is on.
    template<typename MakeArgs, typename MakeOutput>
    void Log(const char* call, UB::Result result, MakeArgs&& makeArgs, MakeOutput&& makeOutput)
    {
        const bool failedInCommand = result.IsFailed() && commandDepth > 0;
        if (!journal.IsEnabled() && !failedInCommand)
            return;
        CJournalEntry entry;
        entry.call = QLatin1String(call);
        entry.args = makeArgs();
        entry.result = result.code;
        entry.output = makeOutput();
        if (failedInCommand)
            commandFailures.append(entry);
        if (journal.IsEnabled())
            Append(entry);
    }
    template<typename MakeArgs>
    void Log(const char* call, UB::Result result, MakeArgs&& makeArgs)
    {
        Log(call, result, std::forward<MakeArgs>(makeArgs), [] { return QString(); });
    }
    void Append(const CJournalEntry& entry);

    // ---- Queries -------------------------------------------------------------------------------

    /// A query about one node: `read` fills `out` from the node; an unknown handle gives
    /// kInvalidHandle and leaves `out` alone, a fault with touched outputs writes `garbage`.
    /// The journal shows the handle, then `moreArgs()`, and `render()` as the output.
    template<typename Value, typename Read, typename MoreArgs, typename Render>
    UB::Result QueryNode(const char* call, UB::CHandle* handle, Value& out, const Value& garbage,
                         Read&& read, MoreArgs&& moreArgs, Render&& render)
    {
        UB::Result result;
        if (!TakeFault(call, result, [&] { out = garbage; })) {
            if (const CSceneNode* node = state->Find(handle))
                out = read(*node);
            else
                result = kInvalidHandle;
        }
        Log(
            call, result, [&] { return QStringList{Handle(handle)} + moreArgs(); }, render);
        return result;
    }
    /// IsLinkableNode, IsSubNodeLinkExcluded, IsLinkBlocked: false for an unknown handle.
    bool NodeFlag(const char* call, UB::CHandle* handle, bool CNodeDesc::*flag);
    /// GetChildNodes and GetSubNodes: the structural children in order.
    UB::Result ListChildren(const char* call, UB::CHandle* node, HandleList& out);

    // ---- Fault injection ---------------------------------------------------------------------

    /// Whether this call is to fail. If so `result` is the injected code and, when the fault
    /// asks for it, `spoil` writes garbage into the call's out-values.
    template<typename Spoil>
    bool TakeFault(const char* call, UB::Result& result, Spoil&& spoil)
    {
        bool touchOutputs = false;
        if (!faults.Take(call, &result, &touchOutputs))
            return false;
        if (touchOutputs)
            spoil();
        return true;
    }
    bool TakeFault(const char* call, UB::Result& result)
    {
        return TakeFault(call, result, [] {});
    }
    /// A handle that belongs to no scene, written into out-values as garbage.
    static UB::CHandle* GarbageHandle();

    // ---- Commands, edits and the undo history ------------------------------------------------

    void BeginCommand();
    void EndCommand();
    /// Remembers the keys of `node` before its first uncommitted edit.
    void RememberPreview(CSceneNode* node);
    /// Applies a planned link edit: as a preview, or committed into the command's undo step.
    void ApplyLinkEdit(QVector<CLinkChange>& plan, UBTime time, bool commit, bool notify);
    /// Puts every pending preview back to its committed keys; tells whether there was any.
    bool RevertPreviews();
    /// Pushes a step of the open command; QUndoStack merges it into the command's first one.
    void PushStep(const QString& label, QVector<CStepPart> parts, QVector<CLinkChange> links);
    void ApplyStep(CSceneStep& step, bool undo);
    /// One ObjectDataChanged2 with a CLinkEvent; `reversed` swaps old and new parent.
    void SendLinkEvent(const CLinkChange& change, bool reversed);
    /// The events of a link edit: a link event per object, HierarchyChanged, ObjectDataChanged.
    void SendLinkEvents(QVector<CLinkChange> changes, bool reversed);
    /// Sends ModifiedChanged when the scene's difference from its file changed.
    void UpdateModified();
    /// Sets the pick mode; PickedModeChanged(new, old) goes out only for a real change, after
    /// `log` has journalled the call that asked for it.
    template<typename LogCall>
    void ChangePickMode(int mode, LogCall&& log)
    {
        const int old = pickMode;
        pickMode = mode;
        log();
        if (mode != old)
            emit sender->PickedModeChanged(static_cast<EPickMode>(mode),
                                           static_cast<EPickMode>(old));
    }
    void ForgetNodes(const QVector<CSceneNode*>& removed);
    /// ObjectDeleted, then HierarchyChanged when links to the removed nodes were dropped.
    void SendRemoved(const QVector<CSceneNode*>& removed, bool linksChanged);
    void ReplaceState(std::unique_ptr<CSceneState> next);
};

} // namespace KV
