#include "sdk/CExternalFileSetting.h"

namespace {

// The module's external-file settings: made when the library loads, which also makes the
// settings registry, and destroyed before the registry when it unloads. Nothing in the
// plug-in reads these settings; the host's SDK expects them in every module.
UB::CExternalFileSetting g_externalFileSetting;

} // namespace
