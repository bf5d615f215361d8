#include "CCommandScope.h"

#include "KVSceneModel.h"

namespace KV {

CCommandScope::CCommandScope(CSceneModel* scene)
    : m_scene(scene)
{
    if (m_scene)
        m_scene->BeginCommand();
}

CCommandScope::~CCommandScope()
{
    if (m_scene)
        m_scene->EndCommand();
}

} // namespace KV
