#include "CHostApplication.h"

#include "CCommandScope.h"
#include "KVSceneModel.h"

#include <QEvent>

namespace KV {

CHostApplication::CHostApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{}

void CHostApplication::SetCommandScene(CSceneModel* scene)
{
    m_scene = scene;
}

void CHostApplication::RunCommandsOn(CSceneModel* scene)
{
    if (auto* host = dynamic_cast<CHostApplication*>(QCoreApplication::instance()))
        host->SetCommandScene(scene);
}

bool CHostApplication::notify(QObject* receiver, QEvent* event)
{
    if (!m_scene || !IsUserInput(event))
        return QApplication::notify(receiver, event);
    CCommandScope command(m_scene);
    return QApplication::notify(receiver, event);
}

bool CHostApplication::IsUserInput(const QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::Drop:
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

} // namespace KV
