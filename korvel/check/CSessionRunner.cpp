#include "CSessionRunner.h"

#include "CCheckReport.h"
#include "CCommandScope.h"
#include "CCrashNote.h"
#include "CDialogDriver.h"
#include "CHostQueries.h"
#include "CHostWindow.h"
#include "CMessageWatch.h"
#include "CPluginLoader.h"
#include "CSceneGenerator.h"
#include "CWidgetOracle.h"
#include "KVSceneModel.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QUndoStack>

namespace KV {

namespace {

using R = CSessionRunner;
using W = CPluginWidgets;

} // namespace

template<auto control>
bool CSessionRunner::IsShown() const
{
    const QWidget* widget = m_host->Widgets().*control;
    return widget != nullptr && widget->isVisible();
}

template<auto control, bool enabled>
bool CSessionRunner::IsOffered() const
{
    const QWidget* widget = m_host->Widgets().*control;
    return IsShown<control>() && widget->isEnabled() == enabled;
}

// QAction::trigger() runs even a disabled action; a user reaches only enabled ones.
template<auto action>
bool CSessionRunner::IsReachable() const
{
    const QAction* reached = m_host->Widgets().*action;
    return reached != nullptr && reached->isVisible() && reached->isEnabled();
}

template<auto action>
bool CSessionRunner::IsEnabled() const
{
    const QAction* hotkey = m_host->Widgets().*action;
    return hotkey != nullptr && hotkey->isEnabled();
}

template<auto button, auto command>
void CSessionRunner::Click()
{
    QAbstractButton* clicked = m_host->Widgets().*button;
    (this->*command)(
        QStringLiteral("click %1").arg(clicked->objectName()),
        [clicked] { QTest::mouseClick(clicked, Qt::LeftButton); }, clicked->isEnabled());
}

template<auto action, auto command>
void CSessionRunner::Trigger()
{
    QAction* triggered = m_host->Widgets().*action;
    (this->*command)(
        QStringLiteral("trigger %1").arg(triggered->objectName()),
        [triggered] { triggered->trigger(); }, triggered->isEnabled());
}

// The events a session draws from, in the order their weights are summed. Selections and the
// sub-node dialog, where most of the plug-in's work lies, come most often.
const CSessionRunner::CEventKind CSessionRunner::kEventKinds[] = {
    {14, nullptr, &R::SelectOneObject},
    {6, nullptr, &R::SelectSeveralObjects},
    {3, nullptr, &R::SelectNothing},
    {3, nullptr, &R::SelectInnerNodes},
    {8, nullptr, &R::SelectLinkedObject},
    {5, nullptr, &R::HostLinks},
    {2, nullptr, &R::HostUnlinks},
    {8, &R::IsPickingParent, &R::HostPicksParent},
    {2, &R::HasObjectsToDelete, &R::HostDeletesNode},
    {2, nullptr, &R::HostAddsObject},
    {6, nullptr, &R::TimeChanges},
    {4, nullptr, &R::PlaybackStartsOrStops},
    {4, nullptr, &R::PickModeChanges},
    {3, nullptr, &R::DialogModeChanges},
    {3, nullptr, &R::FileEvent},
    {9, nullptr, &R::DataEvent},
    {3, nullptr, &R::HostStateDrifts},
    {3, nullptr, &R::UndoOrRedo},
    {3, nullptr, &R::FaultsChange},
    {6, &R::IsShown<&W::pickParent>, &R::Click<&W::pickParent, &R::PickParent>},
    {3, &R::IsShown<&W::splitButton>, &R::ClickSplitButton},
    {2, &R::IsReachable<&W::linkAction>, &R::Trigger<&W::linkAction, &R::PickParent>},
    {2, &R::IsReachable<&W::linkToAction>, &R::Trigger<&W::linkToAction, &R::PickParent>},
    {4, &R::IsShown<&W::unlink>, &R::Click<&W::unlink, &R::Unlink>},
    {2, &R::IsReachable<&W::unlinkAction>, &R::Trigger<&W::unlinkAction, &R::Unlink>},
    {2, &R::IsReachable<&W::contextUnlinkAction>, &R::Trigger<&W::contextUnlinkAction, &R::Unlink>},
    {3, &R::IsShown<&W::linkCamera>, &R::Click<&W::linkCamera, &R::LinkToCamera>},
    {2, &R::IsReachable<&W::linkToCameraAction>,
     &R::Trigger<&W::linkToCameraAction, &R::LinkToCamera>},
    // The sub-node button is mostly disabled; its dialog is where most of the work lies.
    {25, &R::IsOffered<&W::linkSubNode>, &R::ClickLinkSubNode},
    {1, &R::IsOffered<&W::linkSubNode, false>, &R::ClickLinkSubNode},
    {2, &R::IsOffered<&W::splitButton>, &R::ChooseFromSplitMenu},
    {2, &R::IsEnabled<&W::sectionHotkey>, &R::PressSectionHotkey},
    {3, &R::IsEnabled<&W::escHotkey>, &R::PressEscHotkey},
};

CSessionRunner::CSessionRunner(CPluginLoader& plugin, std::uint32_t seed, const CSettings& settings,
                               CCheckReport& report)
    : m_plugin(plugin)
    , m_seed(seed)
    , m_settings(settings)
    , m_report(report)
    , m_random(seed)
{}

CSessionRunner::~CSessionRunner() = default;

bool CSessionRunner::Run()
{
    m_watch = std::make_unique<CMessageWatch>();
    CCrashNote::Enter("a session", true, m_seed);
    m_report.CountSession();
    if (!m_plugin.Load()) {
        Fail(m_plugin.Problem());
        CCrashNote::Leave();
        return false;
    }
    const bool passed = RunStarted();
    m_report.CountEvents(m_event);

    // The host deletes the plug-in's widgets and the scene, then lets the plug-in object go.
    CCrashNote::Enter("the end of a session", true, m_seed);
    m_dialog.reset();
    m_oracle.reset();
    m_queries.reset();
    m_host.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_plugin.Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const QStringList late = m_watch->TakeUnexpected();
    if (passed && !late.isEmpty()) {
        m_description = QStringLiteral("closing the session");
        Fail(late.join(QStringLiteral("; ")));
    }
    m_watch.reset();
    CCrashNote::Leave();
    return passed && late.isEmpty();
}

bool CSessionRunner::RunStarted()
{
    m_host = std::make_unique<CHostWindow>();
    CSceneModel& scene = m_host->Scene();
    m_queries = std::make_unique<CHostQueries>(scene);
    m_generator = std::make_unique<CSceneGenerator>(m_random);
    m_generator->Fill(scene);
    scene.SetCurrentTime(Bounded(40));
    if (Chance(70))
        scene.SetSelection({RandomObject(true)});

    m_oracle = std::make_unique<CWidgetOracle>(scene, *m_queries);
    m_oracle->ConnectFirst();
    QStringList problems;
    m_description = QStringLiteral("starting the plug-in");
    const UB::Result result = m_host->Start(m_plugin, &problems);
    problems += m_watch->TakeUnexpected();
    bool startedWell = true;
    for (const QString& problem : qAsConst(problems)) {
        if (m_settings.reportedOnce != nullptr && m_settings.reportedOnce->contains(problem))
            continue;
        if (m_settings.reportedOnce != nullptr)
            m_settings.reportedOnce->insert(problem);
        Fail(problem);
        startedWell = false;
    }
    m_failed = false;
    if (result.IsFailed() || !m_host->HasAllControls())
        return false;
    m_oracle->Attach(m_host->Widgets());
    QObject::connect(&scene, &CSceneModel::SectionShowRequested, &scene,
                     [this](int panel, int tab, int section) {
                         m_sectionShowRequests.append(
                             QStringLiteral("(%1, %2, %3)").arg(panel).arg(tab).arg(section));
                     });

    CDialogDriver::CSteps steps;
    steps.begin = [this](const QString& description) {
        Begin(description);
    };
    steps.check = [this](const QStringList& found) {
        return Check(found);
    };
    steps.faulted = [this](const QString& call) {
        return m_faults.contains(call);
    };
    m_dialog = std::make_unique<CDialogDriver>(scene, *m_queries, m_random,
                                               m_settings.watchTreeModel, steps);

    m_description = QStringLiteral("after Initialize, before any host event");
    if (!Check({}))
        return false;
    while (m_event < m_settings.events) {
        scene.ClearJournal();
        const CEventKind& kind = DrawEvent();
        m_problems.clear();
        const int stepsBefore = scene.UndoStack()->index();
        {
            // Each event is one host command, as a user's click or a host action is.
            CCommandScope command(&scene);
            (this->*kind.run)();
        }
        if (m_failed)
            return false;
        if (kind.run != &R::UndoOrRedo && scene.UndoStack()->index() > stepsBefore + 1)
            Problem(QStringLiteral("one command left %1 undo steps; it is one at most")
                        .arg(scene.UndoStack()->index() - stepsBefore));
        m_dialog->AfterCommand(&m_problems);
        QApplication::processEvents();
        if (!Check(m_problems))
            return false;
    }
    return startedWell;
}

const CSessionRunner::CEventKind& CSessionRunner::DrawEvent()
{
    int total = 0;
    QVector<const CEventKind*> possible;
    for (const CEventKind& kind : kEventKinds) {
        if (kind.possible == nullptr || (this->*kind.possible)()) {
            possible.append(&kind);
            total += kind.weight;
        }
    }
    int draw = Bounded(total);
    for (const CEventKind* kind : qAsConst(possible)) {
        draw -= kind->weight;
        if (draw < 0)
            return *kind;
    }
    return *possible.constFirst();
}

void CSessionRunner::Begin(const QString& description)
{
    ++m_event;
    m_description = description;
    CCrashNote::SetEvent(m_event);
    if (m_settings.trace)
        m_report.Note(
            QStringLiteral("seed %1, event %2: %3").arg(m_seed).arg(m_event).arg(description));
}

bool CSessionRunner::Check(QStringList problems)
{
    problems += m_oracle->TakeProblems();
    problems += m_oracle->Compare();
    problems += m_watch->TakeUnexpected();
    if (problems.isEmpty())
        return true;
    Fail(problems.join(QStringLiteral("; ")));
    return false;
}

void CSessionRunner::Fail(const QString& text)
{
    m_failed = true;
    m_report.FailAt(m_settings.area, m_seed, m_event,
                    m_description.isEmpty() ? text : m_description + QStringLiteral(": ") + text);
}

bool CSessionRunner::Chance(int percent)
{
    return Bounded(100) < percent;
}

int CSessionRunner::Bounded(int bound)
{
    return bound <= 0 ? 0 : static_cast<int>(m_random.bounded(bound));
}

UB::CHandle* CSessionRunner::RandomObject(bool linkableBias)
{
    const QVector<UB::CHandle*> objects = m_host->Scene().Objects();
    if (objects.isEmpty())
        return nullptr;
    if (linkableBias) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            UB::CHandle* object = objects.at(Bounded(objects.size()));
            const CNodeDesc& desc = m_host->Scene().Desc(object);
            if (CHostQueries::IsLinkableType(desc.objectType) && !desc.linkDisabled)
                return object;
        }
    }
    return objects.at(Bounded(objects.size()));
}

bool CSessionRunner::IsPickingParent() const
{
    return m_host->Scene().PickMode() == 2;
}

bool CSessionRunner::HasObjectsToDelete() const
{
    return m_host->Scene().Objects().size() > 3;
}

UB::CHandle* CSessionRunner::RandomNode()
{
    const QVector<UB::CHandle*> nodes = m_host->Scene().AllNodes();
    return nodes.isEmpty() ? nullptr : nodes.at(Bounded(nodes.size()));
}

} // namespace KV
