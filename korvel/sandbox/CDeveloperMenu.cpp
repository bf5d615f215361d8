#include "CDeveloperMenu.h"

#include "KVSceneModel.h"

#include <QActionGroup>

#include <utility>

namespace KV {

CDeveloperMenu::CDeveloperMenu(CSceneModel* scene, QWidget* parent)
    : QMenu(tr("&Developer"), parent)
    , m_scene(scene)
{
    setObjectName(QStringLiteral("qtDeveloperMenu"));
    BuildFaultMenu();
    BuildModeMenus();
    BuildEventMenu();

    addSeparator();
    QAction* journal = addAction(tr("Record Host Calls"));
    journal->setObjectName(QStringLiteral("qtRecordJournalAction"));
    journal->setCheckable(true);
    journal->setChecked(true);
    connect(journal, &QAction::toggled, m_scene, &CSceneModel::SetJournalEnabled);
}

QStringList CDeveloperMenu::FaultableCalls()
{
    // The scene decides which of its calls can be made to fail.
    return CSceneModel::FaultableCalls();
}

void CDeveloperMenu::BuildFaultMenu()
{
    QMenu* faults = addMenu(tr("&Fail Host Calls"));
    faults->setObjectName(QStringLiteral("qtFaultMenu"));
    faults->setToolTipsVisible(true);
    for (const QString& call : FaultableCalls()) {
        QAction* action = faults->addAction(call);
        action->setObjectName(QStringLiteral("qtFault%1").arg(call));
        action->setCheckable(true);
        action->setToolTip(tr("Every %1 returns 0x%2 and does nothing")
                               .arg(call)
                               .arg(static_cast<quint32>(kFailureCode), 8, 16, QLatin1Char('0')));
        connect(action, &QAction::toggled, this,
                [this, call](bool failing) { SetFault(call, failing); });
        m_faultActions.insert(call, action);
    }
    faults->addSeparator();
    m_scrambleAction = faults->addAction(tr("Scramble Out-Values of Failing Calls"));
    m_scrambleAction->setObjectName(QStringLiteral("qtFaultScrambleAction"));
    m_scrambleAction->setCheckable(true);
    connect(m_scrambleAction, &QAction::toggled, this, [this] {
        // Faults already set take the new setting too.
        for (auto it = m_faultActions.cbegin(); it != m_faultActions.cend(); ++it) {
            if (it.value()->isChecked())
                SetFault(it.key(), true);
        }
    });
    QAction* clear = faults->addAction(tr("Clear All Faults"));
    clear->setObjectName(QStringLiteral("qtClearFaultsAction"));
    connect(clear, &QAction::triggered, this, &CDeveloperMenu::ClearAllFaults);
}

void CDeveloperMenu::SetFault(const QString& call, bool failing)
{
    if (failing) {
        m_scene->InjectFault(call, kFailureCode, -1, m_scrambleAction->isChecked());
        emit Message(tr("Every %1 now fails.").arg(call));
    } else {
        m_scene->ClearFault(call);
        emit Message(tr("%1 works again.").arg(call));
    }
}

void CDeveloperMenu::ClearAllFaults()
{
    for (QAction* action : qAsConst(m_faultActions)) {
        const QSignalBlocker blocker(action);
        action->setChecked(false);
    }
    m_scene->ClearFaults();
    emit Message(tr("Every host call works again."));
}

QActionGroup* CDeveloperMenu::AddModeMenu(const QString& title, const QString& name,
                                          const QVector<std::pair<int, QString>>& modes)
{
    QMenu* menu = addMenu(title);
    menu->setObjectName(QStringLiteral("qt%1Menu").arg(name));
    auto* group = new QActionGroup(menu);
    for (const auto& mode : modes) {
        QAction* action =
            menu->addAction(QStringLiteral("%1 – %2").arg(mode.first).arg(mode.second));
        action->setObjectName(QStringLiteral("qt%1%2").arg(name).arg(mode.first));
        action->setCheckable(true);
        action->setData(mode.first);
        group->addAction(action);
    }
    return group;
}

void CDeveloperMenu::BuildModeMenus()
{
    m_pickModes = AddModeMenu(tr("&Pick Mode"), QStringLiteral("PickMode"),
                              {{ePickNone, tr("None")},
                               {ePickParent, tr("Pick parent")},
                               {ePickSubObject, tr("Sub-object")},
                               {ePickBlockingA, tr("Blocking")},
                               {ePickTarget, tr("Target")},
                               {ePickPath, tr("Path")},
                               {ePickBlockingB, tr("Blocking (other)")}});
    connect(m_pickModes, &QActionGroup::triggered, this,
            [this](QAction* action) { m_scene->ChangePickMode(action->data().toInt()); });
    m_dialogModes = AddModeMenu(tr("&Dialog Mode"), QStringLiteral("DialogMode"),
                                {{eDialogNone, tr("None")},
                                 {eDialogModal, tr("Modal dialog")},
                                 {eDialogExclusiveA, tr("Exclusive dialog")},
                                 {eDialogExclusiveB, tr("Exclusive dialog (other)")}});
    connect(m_dialogModes, &QActionGroup::triggered, this,
            [this](QAction* action) { m_scene->SetDialogMode(action->data().toInt()); });
    connect(this, &QMenu::aboutToShow, this, &CDeveloperMenu::ShowModes);
}

void CDeveloperMenu::ShowModes()
{
    const auto check = [](QActionGroup* group, int mode) {
        for (QAction* action : group->actions())
            action->setChecked(action->data().toInt() == mode);
    };
    check(m_pickModes, m_scene->PickMode());
    check(m_dialogModes, m_scene->DialogMode());
}

void CDeveloperMenu::BuildEventMenu()
{
    QMenu* events = addMenu(tr("Send Host &Event"));
    events->setObjectName(QStringLiteral("qtSendEventMenu"));
    const auto add = [this, events](const QString& text, const QString& name, auto handler) {
        QAction* action = events->addAction(text);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, handler);
    };
    add(tr("FileLoaded (scene)"), QStringLiteral("qtSendFileLoadedScene"),
        [this] { m_scene->SendFileLoaded(eFileScene); });
    add(tr("FileLoaded (merge)"), QStringLiteral("qtSendFileLoadedMerge"),
        [this] { m_scene->SendFileLoaded(eFileMerge); });
    add(tr("HierarchyChanged"), QStringLiteral("qtSendHierarchyChanged"),
        [this] { m_scene->SendHierarchyChanged(); });
    add(tr("Link Event for the Selection"), QStringLiteral("qtSendLinkEvent"), [this] {
        const QVector<UB::CHandle*> selection = m_scene->Selection();
        if (selection.isEmpty())
            m_scene->SendLinkEvent(nullptr);
        for (UB::CHandle* object : selection)
            m_scene->SendLinkEvent(object);
    });
    add(tr("ObjectDataChanged: Link"), QStringLiteral("qtSendDataChangedLink"),
        [this] { m_scene->SendObjectDataChanged(m_scene->Selection(), eChangedLink); });
    add(tr("ObjectDataChanged: Transform"), QStringLiteral("qtSendDataChangedTransform"),
        [this] { m_scene->SendObjectDataChanged(m_scene->Selection(), eChangedTransform); });
    events->addSeparator();
    add(tr("Delete the Selection"), QStringLiteral("qtDeleteSelection"),
        [this] { m_scene->DeleteNodes(m_scene->Selection()); });
}

} // namespace KV
