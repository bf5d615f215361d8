#pragma once

// The host application interface. The plug-in only calls these virtual operations, never owns
// the objects and never keeps a manager pointer: each use fetches the manager again.
//
// In every class below the order of the virtual operations is the host's binary contract;
// new operations go at the end, and nothing is reordered.
//
// Out-parameters are preset by the caller (0, false or null); a call that fails may leave
// them untouched, and the preset value is then what the caller sees.

#include "host/KVEnums.h"
#include "host/UBTypes.h"
#include "sdk/UBHandle.h"

#include <QStringList>

#include <cstdint>
#include <string>
#include <vector>

class QAction;
class QObject;
class QWidget;

namespace KV {

class CEventSender;

using HandleList = UB::CArrayList<UB::CHandle*>;

/// Scene queries. Slot order is the host's binary contract.
class CSceneManager
{
public:
    virtual QWidget* GetMainWindow() = 0;
    virtual bool IsPlaying() = 0;
    virtual UBTime GetCurrentTime() = 0;
    /// The selected objects in selection order. The flag asks for top-level objects only;
    /// the plug-in always passes true.
    virtual UB::Result GetSelectedObjects(HandleList& out, bool topLevelOnly) = 0;
    virtual UB::Result GetObjectType(UB::CHandle* object, int& type) = 0;
    virtual UB::Result GetNodeKind(UB::CHandle* node, int& kind) = 0;
    virtual std::wstring GetObjectName(UB::CHandle* object) = 0;
    virtual UB::Result GetChildNodes(UB::CHandle* node, HandleList& out) = 0;
    virtual UB::Result GetSubNodes(UB::CHandle* node, HandleList& out) = 0;
    /// The first node named `name` below `node` (depth-first), or null.
    virtual UB::CHandle* FindNodeByName(UB::CHandle* node, const std::wstring& name) = 0;
    virtual bool IsLinkableNode(UB::CHandle* node) = 0;
    virtual bool IsSubNodeLinkExcluded(UB::CHandle* node) = 0;
    virtual std::wstring GetStandardNodeName(int index) = 0;
    virtual UB::Result GetNodeOwner(UB::CHandle* node, UB::CHandle*& owner) = 0;
    virtual UB::Result GetOwnerRoot(UB::CHandle* node, UB::CHandle*& root) = 0;
    virtual UB::CHandle* GetCurrentCamera() = 0;
    virtual UB::Result GetLinkParent(UB::CHandle* object, UBTime time, UB::CHandle*& parent) = 0;
    virtual UB::Result GetTransform(UB::CHandle* object, UBTime time, TransformRecord& out) = 0;
    virtual bool IsLinkBlocked(UB::CHandle* object) = 0;
    virtual EDialogMode GetDialogMode() = 0;
    virtual EPickMode GetPickMode() = 0;
    virtual UB::Result IsLinkDisabled(UB::CHandle* object, bool& disabled) = 0;

protected:
    ~CSceneManager() = default;
};

/// Link and transform edits. Slot order is the host's binary contract.
///
/// The two flags of LinkObjects and UnlinkObject: `commit` makes the edit a committed,
/// undoable step (false: a preview or a restore that leaves no undo step); `notify` sends
/// the host events of the change (false: the views update, the plug-ins are not told).
class CLinkManager
{
public:
    virtual UB::Result SetTransform(UB::CHandle* object, UBTime time,
                                    const TransformRecord& transform) = 0;
    /// alignMode 0 keeps each object's world transform, 1 moves it to the target's world
    /// position, 2 to the target's world position and rotation.
    virtual UB::Result LinkObjects(const HandleList& objects, UB::CHandle* target, int alignMode,
                                   UBTime time, bool commit, bool notify) = 0;
    virtual UB::Result UnlinkObject(UB::CHandle* object, UBTime time, bool commit, bool notify) = 0;

protected:
    ~CLinkManager() = default;
};

/// Pick mode and section display. Slot order is the host's binary contract.
class CPickManager
{
public:
    virtual UB::Result SetPickMode(int mode) = 0;
    virtual UB::Result EndPickMode() = 0;
    /// Brings the section with the given panel, tab and section id into view.
    virtual UB::Result ShowSection(int panel, int tab, int section) = 0;

protected:
    ~CPickManager() = default;
};

/// Hot-key registration. Slot order is the host's binary contract.
class CHotKeyManager
{
public:
    /// Registers (or finds) the category with that path for that owner and returns its
    /// handle; 0 means no category.
    virtual std::uint64_t RegisterHotKeyCategory(const std::vector<std::wstring>& path,
                                                 const std::wstring& owner) = 0;
    /// Registers `action` under `category`. `shortcutWidget` and `reserved` may be null;
    /// `conflicts` receives the key sequences the host had to take from other actions.
    virtual UB::Result RegisterHotKeyAction(std::uint64_t category, QAction* action,
                                            QWidget* shortcutWidget, QObject* reserved,
                                            std::vector<QStringList>& conflicts, int flags) = 0;

protected:
    ~CHotKeyManager() = default;
};

/// The host application interface handed to the plug-in's Initialize. Slot order is the
/// host's binary contract.
class CKorvelInterface
{
public:
    virtual CEventSender* GetEventSender() = 0;
    virtual CLinkManager* GetLinkManager() = 0;
    virtual CSceneManager* GetSceneManager() = 0;
    virtual CPickManager* GetPickManager() = 0;
    virtual CHotKeyManager* GetHotKeyManager() = 0;

protected:
    ~CKorvelInterface() = default;
};

} // namespace KV
