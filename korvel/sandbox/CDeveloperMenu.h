#pragma once

#include <QMap>
#include <QMenu>
#include <QVector>

#include <utility>

class QActionGroup;

namespace KV {

class CSceneModel;

/// Tools for plug-in developers: make chosen host calls fail (the scene's fault injection),
/// put the host into pick and dialog modes, send host events on demand, and switch the journal.
class CDeveloperMenu : public QMenu
{
    Q_OBJECT
public:
    /// The code a failing host call returns.
    static constexpr int kFailureCode = static_cast<int>(0x80004005u);

    explicit CDeveloperMenu(CSceneModel* scene, QWidget* parent = nullptr);

    /// The host calls that can be made to fail, as the interface names them.
    static QStringList FaultableCalls();
    /// The action that makes every call of `call` fail, or null.
    QAction* FaultAction(const QString& call) const { return m_faultActions.value(call, nullptr); }

signals:
    void Message(const QString& text);

private:
    void BuildFaultMenu();
    void BuildModeMenus();
    QActionGroup* AddModeMenu(const QString& title, const QString& name,
                              const QVector<std::pair<int, QString>>& modes);
    void BuildEventMenu();
    void SetFault(const QString& call, bool failing);
    void ClearAllFaults();
    void ShowModes();

    CSceneModel* m_scene;
    QMap<QString, QAction*> m_faultActions;
    QAction* m_scrambleAction = nullptr;
    QActionGroup* m_pickModes = nullptr;
    QActionGroup* m_dialogModes = nullptr;
};

} // namespace KV
