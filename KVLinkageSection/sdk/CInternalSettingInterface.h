#pragma once

#include "sdk/CDestoryWatchableObject.h"

namespace UB {

class CSettingsReader;

/// A settings object of the module, listed in the module's settings registry for as long as
/// it lives.
///
/// Virtual slot order is the host's binary contract: those of the handle, then Load.
class CInternalSettingInterface : public CDestoryWatchableObject
{
public:
    /// Reads every field from `reader`, each with its default. A null reader changes nothing
    /// and gives kNothingDone.
    virtual Result Load(CSettingsReader* reader) = 0;
};

} // namespace UB
