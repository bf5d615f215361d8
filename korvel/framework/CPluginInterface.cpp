#include "host/KVPluginInterface.h"

namespace KV {

CPluginInterface::~CPluginInterface() = default;
CSectionInterface::~CSectionInterface() = default;

} // namespace KV
