#include "CDialogModeScope.h"

#include "KVSceneModel.h"

namespace KV {

CDialogModeScope::CDialogModeScope(CSceneModel* scene)
    : m_scene(scene)
    , m_previousMode(scene->DialogMode())
{
    m_scene->SetDialogMode(eDialogModal);
}

CDialogModeScope::~CDialogModeScope()
{
    m_scene->SetDialogMode(m_previousMode);
}

} // namespace KV
