#pragma once

#include "CSubNodeCommandCheck.h"
#include "CSubNodeDialogModel.h"
#include "host/KVKorvelInterface.h"

#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QDialog;
class QRandomGenerator;
class QToolButton;

namespace KV {

class CHostQueries;
class CSceneModel;
class CSubNodeDialogUser;

/// Works the link-to-sub-node dialog in a session: clicks qtLinkSubNode, and while the dialog
/// is open draws the user's steps (nodes, alignments, searches, views, keys) and ends it with
/// OK, Cancel, keypad Enter or closing the window. After every step the dialog must show what
/// its model expects; the previews and the command's answer are judged from the host's calls.
class CDialogDriver
{
public:
    /// Hooks into the session's event count: `begin` starts a new numbered event with a
    /// description; `check` ends it with the problems found and returns whether the session
    /// goes on.
    struct CSteps
    {
        std::function<void(const QString& description)> begin;
        std::function<bool(const QStringList& problems)> check;
        /// Whether a host call is currently made to fail.
        std::function<bool(const QString& call)> faulted;
    };

    CDialogDriver(CSceneModel& scene, CHostQueries& queries, QRandomGenerator& random,
                  bool watchTreeModel, CSteps steps);
    ~CDialogDriver();

    /// Clicks the button. Problems of the current event (the click or, when the dialog opened,
    /// the step that ended it) go to `problems`. Returns false when a check inside the dialog
    /// already ended the session.
    bool Click(QToolButton* linkSubNode, QStringList* problems);
    /// Once the host command of the click has ended: what a closed dialog left on the scene.
    void AfterCommand(QStringList* problems);

private:
    enum class EEnd
    {
        Open,
        Accepted,
        Rejected
    };

    void Drive(QDialog* dialog);
    void CheckOpening(QStringList* problems);
    void CheckPreview(QStringList* problems);
    bool DoStep();
    void ClickItem();
    void ClickAlignment(QStringList* problems);
    void TypeSearch();
    void UseViewMenu(QStringList* problems);
    void PressKey(QStringList* problems);
    void End();
    /// The end a closed dialog gives.
    EEnd Result() const;

    UB::CHandle* FirstSelectedNode() const;

    QRandomGenerator& m_random;
    bool m_watchTreeModel;
    CSteps m_steps;
    CSubNodeDialogModel m_model;
    CSubNodeCommandCheck m_command;

    // Kept from one opening to the next, as the dialog is.
    QPointer<QDialog> m_dialog;
    /// A dialog closed in the current command; judged when the command has ended.
    bool m_commandToJudge = false;
    std::unique_ptr<CSubNodeDialogUser> m_user;

    // This opening.
    bool m_expectOpen = false;
    bool m_stopped = false;
    EEnd m_end = EEnd::Open;
    QStringList m_driveProblems;
};

} // namespace KV
