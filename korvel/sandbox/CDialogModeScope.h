#pragma once

namespace KV {

class CSceneModel;

/// While it lives, the scene's dialog mode says that the sandbox shows a modal dialog of its own,
/// so plug-ins switch their commands off as they would under any host dialog. The mode that was
/// set before comes back when the scope ends.
class CDialogModeScope
{
public:
    explicit CDialogModeScope(CSceneModel* scene);
    ~CDialogModeScope();
    CDialogModeScope(const CDialogModeScope&) = delete;
    CDialogModeScope& operator=(const CDialogModeScope&) = delete;

private:
    CSceneModel* m_scene;
    int m_previousMode;
};

} // namespace KV
