#pragma once

#include <QPointer>

namespace KV {

class CSceneModel;

/// One host command: everything a user action sets off, from the click or key that starts it
/// until control returns to the host. Committed edits made inside form one undo step;
/// uncommitted ones are previews that the host takes back when the outermost command ends.
/// Commands nest; only the outermost one counts. A null scene makes the scope do nothing.
class CCommandScope
{
public:
    explicit CCommandScope(CSceneModel* scene);
    ~CCommandScope();
    CCommandScope(const CCommandScope&) = delete;
    CCommandScope& operator=(const CCommandScope&) = delete;

private:
    // The scene may go while a command runs (a window closed from a menu); then the end is
    // nobody's business.
    QPointer<CSceneModel> m_scene;
};

} // namespace KV
