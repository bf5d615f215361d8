#include "host/KVCoreBase.h"

namespace KV {

CCoreBase::CCoreBase() = default;
CCoreBase::~CCoreBase() = default;

} // namespace KV
