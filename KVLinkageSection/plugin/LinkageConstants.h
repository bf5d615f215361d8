#pragma once

// The host's numbers and names that the Link commands and the Linkage section share. Their
// meaning is the host's; the plug-in only compares with them.

#include "host/KVEnums.h"

namespace KV {

// The resource file beside the library, and what it holds.
inline constexpr char kLinkageResourceFile[] = "KVLinkageSection.rcc";
inline constexpr char kActionsLayout[] = ":/plugin/KVLinkageSection/Linkage_Action.ui";
inline constexpr char kSectionLayout[] = ":/plugin/KVLinkageSection/Linkage.ui";
inline constexpr char kLinkageLayoutSettings[] = ":/plugin/KVLinkageSection/LayoutUI.ini";

// Owners of the two hot-key categories.
inline constexpr char kPluginHotKeyOwner[] = "KVLinkagePlugin";
inline constexpr char kSectionHotKeyOwner[] = "KVLinkageSection";

// Where the host shows the Linkage section.
inline constexpr int kSectionPanel = 4;
inline constexpr int kSectionId = 336;
inline constexpr int kSectionTab = 0;

/// The one object type that is offered Link To Camera.
inline constexpr int kLinkToCameraType = 41;

/// Whether objects of `type` may take part in linking at all.
constexpr bool IsLinkableType(int type)
{
    constexpr int linkable[] = {1,  2,  3,  4,  5,  7,  8,  14, 15, 18,
                                19, 21, 23, 24, 25, 41, 45, 46, 54};
    for (int candidate : linkable) {
        if (candidate == type)
            return true;
    }
    return false;
}

/// Objects of these types take no keys; their label is styled apart.
constexpr bool IsNoKeyType(int type)
{
    return type == 14 || type == 15;
}

/// A parent of these types offers no nodes to link to.
constexpr bool IsSubNodeLessParentType(int type)
{
    return type == 18 || type == 19;
}

/// Pick modes in which no object may be linked.
constexpr bool IsLinkBlockingPickMode(int mode)
{
    return mode == ePickBlockingA || mode == ePickBlockingB;
}

/// While the host picks in one of these modes, the whole section stays out of the way.
constexpr bool IsSectionBlockingPickMode(int mode)
{
    return mode == ePickSubObject || mode == ePickBlockingA || mode == ePickTarget ||
           mode == ePickPath || mode == ePickBlockingB;
}

/// Dialog modes in which several selected objects may not be linked.
constexpr bool IsMultiPickBlockingDialogMode(int mode)
{
    return mode == eDialogExclusiveA || mode == eDialogExclusiveB;
}

} // namespace KV
