#pragma once

// Integer-valued enumerations of the host. The plug-in compares them as plain numbers; the
// named values are the ones the plug-in and the stand-in host talk about.

namespace KV {

enum EPickMode : int
{
    ePickNone = 0,
    ePickParent = 2,
    ePickSubObject = 11,
    ePickBlockingA = 19,
    ePickTarget = 22,
    ePickPath = 23,
    ePickBlockingB = 37,
};

enum EDialogMode : int
{
    eDialogNone = 0,
    eDialogModal = 5,
    eDialogExclusiveA = 9,
    eDialogExclusiveB = 67,
};

enum EFileType : int
{
    eFileScene = 0,
    eFileMerge = 1,
    eFileImport = 2,
};

/// Bit flags of ObjectDataChanged; the plug-in reacts to bit 2 only.
enum EObjectChangedDataType : int
{
    eChangedTransform = 1,
    eChangedLink = 2,
    eChangedName = 4,
};

enum ECompatibleApp : int
{
    eAppNone = 0,
    eAppAnimator = 1,
    eAppModeler = 2,
    eAppRenderer = 4,
    eAppAll = 7,
};

} // namespace KV
