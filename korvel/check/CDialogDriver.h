#pragma once

#include "CNodeListing.h"
#include "host/KVKorvelInterface.h"

#include <QHash>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>

class QAbstractButton;
class QAction;
class QDialog;
class QLineEdit;
class QMenu;
class QRadioButton;
class QRandomGenerator;
class QTimer;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace KV {

class CHostQueries;
class CSceneModel;

/// Works the link-to-sub-node dialog as a user does: clicks qtLinkSubNode, finds the dialog as
/// the active modal widget, chooses nodes, alignments, searches and views in it, and ends it
/// with OK, Cancel, keypad Enter or closing the window. Checks the dialog's state after every
/// step against the listing, search and view rules, the previews it may make, and what the
/// section does with the answer: the final link after OK, and after Cancel the object back at
/// its parent and transform from before the dialog.
///
/// One driver serves one session, since the dialog is made once and kept: the view, the
/// expand choice and a pending keypad Enter carry over from one opening to the next.
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

    /// Clicks the button. Problems of the current event (the click or, when the dialog opened,
    /// the step that ended it) go to `problems`. Returns false when a check inside the dialog
    /// already ended the session.
    bool Click(QToolButton* linkSubNode, QStringList* problems);

private:
    struct CControls
    {
        QPointer<QTreeWidget> tree;
        QPointer<QLineEdit> search;
        QPointer<QAbstractButton> ok;
        QPointer<QAbstractButton> cancel;
        QPointer<QRadioButton> noAlign;
        QPointer<QRadioButton> alignPos;
        QPointer<QRadioButton> alignPosRot;
        QPointer<QToolButton> viewButton;
        QPointer<QAction> hierarchyAction;
        QPointer<QAction> listAction;
        QPointer<QAction> expandAction;
        QPointer<QAction> collapseAction;
    };
    /// What a step expects of one tree item.
    struct CItemState
    {
        bool expanded = true;
        /// False where the rules allow either state.
        bool expandedKnown = true;
        bool hidden = false;
        bool selected = false;
    };
    enum class EEnd
    {
        Open,
        Accepted,
        Rejected
    };

    void Drive();
    bool FindControls(QDialog* dialog, QStringList* problems);
    void CheckOpening(QStringList* problems);
    bool DoStep();
    void ClickItem(QStringList* problems);
    void ClickAlignment(QStringList* problems);
    void TypeSearch(QStringList* problems);
    void UseViewMenu(QStringList* problems);
    void PressKey(QStringList* problems);
    void End();
    void CheckEnd(QStringList* problems);

    void OnSearchTextChanged(const QString& text);
    void ExpectRebuild(QStringList* problems);
    void CheckTree(QStringList* problems) const;
    void CheckPreviews(QStringList* problems) const;
    UB::CHandle* FirstSelectedNode() const;
    int AlignModeShown() const;
    QString Render(UB::CHandle* handle) const;
    QString Render(const HandleList& handles) const;

    CSceneModel& m_scene;
    CHostQueries& m_queries;
    QRandomGenerator& m_random;
    bool m_watchTreeModel;
    CSteps m_steps;
    CNodeListing m_listing;

    // Kept from one opening to the next, as the dialog keeps them.
    QPointer<QDialog> m_dialog;
    CControls m_controls;
    bool m_hierarchyView = true;
    bool m_expandRoot = true;
    UB::CHandle* m_rootNode = nullptr;
    bool m_enterPending = false;

    // This opening.
    bool m_expectOpen = false;
    bool m_driven = false;
    bool m_stopped = false;
    EEnd m_end = EEnd::Open;
    HandleList m_selection;
    UB::CHandle* m_previousParent = nullptr;
    UB::CHandle* m_owner = nullptr;
    UBTime m_time = 0;
    TransformRecord m_savedTransform;
    UB::CHandle* m_beforeParent = nullptr;
    TransformRecord m_beforeTransform;
    QString m_finalTarget;
    int m_finalAlign = 0;
    int m_openJournal = 0;
    int m_endJournal = 0;
    QHash<QTreeWidgetItem*, CItemState> m_items;
    /// Whether the tree's items were found as the rules make them, so that their states can
    /// be followed.
    bool m_treeKnown = false;
    bool m_inDialog = false;
    QPointer<QRadioButton> m_chosenAlignment;
    QStringList m_driveProblems;
    QTimer* m_poll = nullptr;
};

} // namespace KV
