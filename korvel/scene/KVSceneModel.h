#pragma once

// The stand-in host's in-memory scene. It implements the host application interface and its
// managers, so the plug-in, the tests, the sandbox, the benchmarks and the plug-in checker all
// talk to the same model. It knows nothing of widgets.

#include "CSceneSnapshot.h"
#include "host/KVEventSender.h"
#include "host/KVKorvelInterface.h"

#include <QHash>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVector>

#include <cstdint>
#include <memory>
#include <vector>

class QAction;
class QUndoStack;

namespace KV {

class CSceneNode;

/// One interface call as the plug-in made it: the operation's name (as declared in the host
/// interface, for example "GetLinkParent") and its arguments rendered as text (handles by
/// their node name, "null" for none; times as numbers; flags as "true"/"false").
struct CJournalEntry
{
    QString call;
    QStringList args;
    /// The code the call returned, where it returns a UB::Result.
    int result = 0;
    /// What the call handed back besides its code (a returned value or the out-values),
    /// rendered like the arguments; empty when there is nothing. Not part of ToString.
    QString output;

    QString ToString() const; // "call(arg, arg) -> result"
};

/// What a node of the scene is. Every object and every node inside an object (a bone, a
/// helper) is a node; objects are nodes without a structural parent.
struct CNodeDesc
{
    QString name;
    int objectType = 1;
    int nodeKind = 0;
    bool linkable = true;             // IsLinkableNode
    bool subNodeLinkExcluded = false; // IsSubNodeLinkExcluded
    bool linkDisabled = false;        // IsLinkDisabled
    bool linkBlocked = false;         // IsLinkBlocked
};

/// A node to add with AddNodesAsStep.
struct CNewNode
{
    CNodeDesc desc;
    /// The index of an earlier entry of the same list as structural parent; -1 for a new
    /// top-level object.
    int parent = -1;
    /// The local transform before the node's first transform key.
    TransformRecord rest;
};

/// A registered hot-key category and the actions registered under it.
struct CHotKeyCategory
{
    std::uint64_t handle = 0;
    QStringList path;
    QString owner;
    QVector<QPointer<QAction>> actions;
};

class CSceneModel : public QObject,
                    public CKorvelInterface,
                    public CSceneManager,
                    public CLinkManager,
                    public CPickManager,
                    public CHotKeyManager
{
    Q_OBJECT
public:
    explicit CSceneModel(QObject* parent = nullptr);
    ~CSceneModel() override;

    // ---- Building a scene (no host events, no journal) -------------------------------------

    /// Adds a top-level object. Its owner and owner root are itself.
    UB::CHandle* AddObject(const CNodeDesc& desc);
    /// Adds a node inside `structuralParent` (appended to its child and sub-node lists). Its
    /// owner is the parent's owner; its initial link parent is `structuralParent`.
    UB::CHandle* AddNode(UB::CHandle* structuralParent, const CNodeDesc& desc,
                         const TransformRecord& rest = TransformRecord());
    void SetOwner(UB::CHandle* node, UB::CHandle* owner);
    void SetOwnerRoot(UB::CHandle* node, UB::CHandle* root);
    /// The node's description, to read or change in place (a change sends no signal). An
    /// unknown handle gives a scratch description whose changes are forgotten.
    CNodeDesc& Desc(UB::CHandle* node);
    const CNodeDesc& Desc(UB::CHandle* node) const;
    void SetStandardNodeName(int index, const QString& name);
    void SetCurrentCamera(UB::CHandle* camera);
    void SetMainWindow(QWidget* window);
    /// Removes every node and resets time, selection, modes, undo history and camera.
    void Clear();

    // ---- Looking at the scene -------------------------------------------------------------

    QVector<UB::CHandle*> Objects() const;              // top-level objects in creation order
    QVector<UB::CHandle*> AllNodes() const;             // every node in creation order
    UB::CHandle* FindByName(const QString& name) const; // first node of that name, or null
    bool Contains(UB::CHandle* handle) const;
    QString Name(UB::CHandle* node) const;
    UB::CHandle* StructuralParent(UB::CHandle* node) const;
    QVector<UB::CHandle*> StructuralChildren(UB::CHandle* node) const;
    UB::CHandle* LinkParentAt(UB::CHandle* node, UBTime time) const;
    TransformRecord LocalTransformAt(UB::CHandle* node, UBTime time) const;
    TransformRecord WorldTransformAt(UB::CHandle* node, UBTime time) const;
    /// Times at which the node has a link or transform key, ascending.
    QVector<UBTime> LinkKeyTimes(UB::CHandle* node) const;
    QVector<UBTime> TransformKeyTimes(UB::CHandle* node) const;
    QVector<UB::CHandle*> Selection() const;
    UBTime CurrentTime() const;
    int PickMode() const;
    int DialogMode() const;
    bool Playing() const;
    QUndoStack* UndoStack() const;
    /// Whether the scene differs from its file: any change, a pending preview included, that
    /// has not been undone back to the state marked clean on the undo stack.
    bool IsModified() const;
    /// The saved scene and the undo state, to tell whether anything at all changed.
    CSceneSnapshot Snapshot() const;
    CEventSender* EventSender() const;
    const QVector<CHotKeyCategory>& HotKeyCategories() const;

    // ---- Keys set directly (no host events, no undo) --------------------------------------

    /// A link parent or transform set at time t holds from t until the next key. A key that
    /// would make a node its own ancestor, or names an unknown node, is not set (a warning).
    void SetLinkKey(UB::CHandle* node, UBTime time, UB::CHandle* parent);
    void SetTransformKey(UB::CHandle* node, UBTime time, const TransformRecord& transform);

    // ---- What a host does, with the host events a real host sends -------------------------
    // Each of these sends its event on every call, except the pick mode, which is announced
    // only when it really changes.

    void SetSelection(const QVector<UB::CHandle*>& selection); // ObjectSelectionChanged
    void SetCurrentTime(UBTime time);                          // CurrentTimeChanged
    void Play();                                               // Played
    void Stop();                                               // Stopped
    void SetDialogMode(int mode);                              // DialogModeChanged
    void ChangePickMode(int mode);                             // PickedModeChanged(new, old)
    /// Deletes the nodes and everything below them as one undo step; links to them are
    /// dropped. Sends ObjectDeleted, then HierarchyChanged.
    void DeleteNodes(const QVector<UB::CHandle*>& nodes);
    /// Adds the nodes as one undo step named `text` and sends HierarchyChanged. Returns their
    /// handles in list order, or an empty list, with the scene untouched, when a parent index
    /// does not name an earlier entry.
    QVector<UB::CHandle*> AddNodesAsStep(const QVector<CNewNode>& nodes, const QString& text);
    void SendFileLoaded(int fileType); // FileLoaded
    void SendHierarchyChanged();
    void SendObjectDataChanged(const QVector<UB::CHandle*>& nodes, int changeType);
    void SendLinkEvent(UB::CHandle* object); // ObjectDataChanged2(CLinkEvent)

    // ---- Host commands -----------------------------------------------------------------------
    // A host opens a command around each user action it dispatches (CCommandScope). Committed
    // edits of one command form one undo step; uncommitted edits are previews that are taken
    // back when the outermost command ends. An edit made outside any command is a command of
    // its own.

    void BeginCommand();
    void EndCommand();
    bool InCommand() const;
    /// The failed calls of the open command, which the caller has reported itself, so that
    /// CommandEnded does not report them again.
    QVector<CJournalEntry> TakeCommandFailures();

    // ---- Journal ---------------------------------------------------------------------------

    /// Every interface call is journalled while the journal is on (the default).
    void SetJournalEnabled(bool enabled);
    const QVector<CJournalEntry>& Journal() const;
    /// The journal's entries as "call(args) -> result" lines, optionally only those calls.
    QStringList JournalLines(const QStringList& onlyCalls = {}) const;
    void ClearJournal();

    // ---- Fault injection -------------------------------------------------------------------

    /// Makes the next `count` calls of `call` (all of them with count -1) return `code`
    /// without doing anything. With `touchOutputs` false the out-values stay as the caller
    /// preset them; with true they are written with garbage first (for robustness tests).
    void InjectFault(const QString& call, int code, int count = -1, bool touchOutputs = false);
    /// The names of the calls InjectFault accepts: those that return a UB::Result.
    static QStringList FaultableCalls();
    void ClearFault(const QString& call);
    void ClearFaults();

    // ---- Files -----------------------------------------------------------------------------

    /// Replaces the scene by the file's. On error returns false, leaves the scene untouched
    /// and sets `error` to a message naming the file, the object and the problem. On success
    /// sends FileLoaded(0).
    bool LoadFile(const QString& path, QString* error);
    bool LoadJson(const QByteArray& json, const QString& sourceName, QString* error);
    /// Writes atomically (QSaveFile); a failed save leaves the old file as it was.
    bool SaveFile(const QString& path, QString* error) const;
    QByteArray ToJson() const;

    // ---- CKorvelInterface ------------------------------------------------------------------
    CEventSender* GetEventSender() override;
    CLinkManager* GetLinkManager() override;
    CSceneManager* GetSceneManager() override;
    CPickManager* GetPickManager() override;
    CHotKeyManager* GetHotKeyManager() override;

    // ---- CSceneManager ---------------------------------------------------------------------
    QWidget* GetMainWindow() override;
    bool IsPlaying() override;
    UBTime GetCurrentTime() override;
    UB::Result GetSelectedObjects(HandleList& out, bool topLevelOnly) override;
    UB::Result GetObjectType(UB::CHandle* object, int& type) override;
    UB::Result GetNodeKind(UB::CHandle* node, int& kind) override;
    std::wstring GetObjectName(UB::CHandle* object) override;
    UB::Result GetChildNodes(UB::CHandle* node, HandleList& out) override;
    UB::Result GetSubNodes(UB::CHandle* node, HandleList& out) override;
    UB::CHandle* FindNodeByName(UB::CHandle* node, const std::wstring& name) override;
    bool IsLinkableNode(UB::CHandle* node) override;
    bool IsSubNodeLinkExcluded(UB::CHandle* node) override;
    std::wstring GetStandardNodeName(int index) override;
    UB::Result GetNodeOwner(UB::CHandle* node, UB::CHandle*& owner) override;
    UB::Result GetOwnerRoot(UB::CHandle* node, UB::CHandle*& root) override;
    UB::CHandle* GetCurrentCamera() override;
    UB::Result GetLinkParent(UB::CHandle* object, UBTime time, UB::CHandle*& parent) override;
    UB::Result GetTransform(UB::CHandle* object, UBTime time, TransformRecord& out) override;
    bool IsLinkBlocked(UB::CHandle* object) override;
    EDialogMode GetDialogMode() override;
    EPickMode GetPickMode() override;
    UB::Result IsLinkDisabled(UB::CHandle* object, bool& disabled) override;

    // ---- CLinkManager ----------------------------------------------------------------------
    UB::Result SetTransform(UB::CHandle* object, UBTime time,
                            const TransformRecord& transform) override;
    UB::Result LinkObjects(const HandleList& objects, UB::CHandle* target, int alignMode,
                           UBTime time, bool commit, bool notify) override;
    UB::Result UnlinkObject(UB::CHandle* object, UBTime time, bool commit, bool notify) override;

    // ---- CPickManager ----------------------------------------------------------------------
    UB::Result SetPickMode(int mode) override;
    UB::Result EndPickMode() override;
    UB::Result ShowSection(int panel, int tab, int section) override;

    // ---- CHotKeyManager --------------------------------------------------------------------
    std::uint64_t RegisterHotKeyCategory(const std::vector<std::wstring>& path,
                                         const std::wstring& owner) override;
    UB::Result RegisterHotKeyAction(std::uint64_t category, QAction* action,
                                    QWidget* shortcutWidget, QObject* reserved,
                                    std::vector<QStringList>& conflicts, int flags) override;

    /// Codes of the scene's own refusals.
    static constexpr UB::Result kInvalidHandle{UB::ToCode(0x80070001u)};
    static constexpr UB::Result kWouldCycle{UB::ToCode(0x80070002u)};
    /// An align mode outside 0 to 2, a transform with a non-finite field or a zero rotation, a
    /// null action.
    static constexpr UB::Result kInvalidArgument{UB::ToCode(0x80070003u)};

signals:
    /// Any change of the scene's content, previews included: views redraw on it.
    void SceneChanged();
    void SelectionChanged();
    void TimeChanged(UBTime time);
    void SectionShowRequested(int panel, int tab, int section);
    void ModifiedChanged(bool modified);
    /// The outermost command ended; `failedCalls` are the calls that failed during it.
    void CommandEnded(const QVector<KV::CJournalEntry>& failedCalls);
    void JournalAppended(const KV::CJournalEntry& entry);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace KV

Q_DECLARE_METATYPE(KV::CJournalEntry)
