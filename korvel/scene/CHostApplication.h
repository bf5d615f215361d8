#pragma once

#include <QApplication>
#include <QPointer>

namespace KV {

class CSceneModel;

/// The host's application object. Every user input it dispatches (a click, a key, a shortcut,
/// a wheel turn, a drop) runs as one host command on the scene (CCommandScope): what a plug-in
/// commits while handling it is one undo step, and what it only previews is taken back when
/// the input has been handled, modal dialogs opened from it included.
class CHostApplication : public QApplication
{
public:
    CHostApplication(int& argc, char** argv);

    /// The scene that user input works on; null (the default) runs input without commands.
    void SetCommandScene(CSceneModel* scene);
    /// SetCommandScene on the running application, when it is a host application.
    static void RunCommandsOn(CSceneModel* scene);

    bool notify(QObject* receiver, QEvent* event) override;

    /// Whether the event is user input that starts a host command.
    static bool IsUserInput(const QEvent* event);

private:
    QPointer<CSceneModel> m_scene;
};

} // namespace KV
