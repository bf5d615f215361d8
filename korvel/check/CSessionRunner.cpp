#include "CSessionRunner.h"

#include "CCheckReport.h"
#include "CCrashNote.h"
#include "CDialogDriver.h"
#include "CHostQueries.h"
#include "CHostWindow.h"
#include "CMessageWatch.h"
#include "CPluginLoader.h"
#include "CSceneFileFuzzer.h"
#include "CSceneGenerator.h"
#include "CWidgetOracle.h"
#include "KVSceneModel.h"
#include "host/KVAbstractPlugin.h"
#include "host/KVEvents.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QUndoStack>

namespace KV {

namespace {

// Host event classes the plug-in does not know: one derived from the link event, whose record
// chain names "CLinkEvent", and one whose own name merely resembles it.
class CLinkKeyEvent : public CLinkEvent
{
public:
    static const CEventClassInfo* GetStaticClassInfo()
    {
        static const CEventClassInfo info{"CLinkKeyEvent", CLinkEvent::GetStaticClassInfo()};
        return &info;
    }
    const CEventClassInfo* GetClassInfo() const override { return GetStaticClassInfo(); }
};

class CLinkEventsLookalike : public CAnimationEvent
{
public:
    static const CEventClassInfo* GetStaticClassInfo()
    {
        static const CEventClassInfo info{"CLinkEvents", CAnimationEvent::GetStaticClassInfo()};
        return &info;
    }
    const CEventClassInfo* GetClassInfo() const override { return GetStaticClassInfo(); }
};

// Host calls a session makes fail: those the scene can fail, but the hot-key registration,
// which only start-up makes.
QStringList FailingCalls()
{
    QStringList calls = CSceneModel::FaultableCalls();
    calls.removeAll(QStringLiteral("RegisterHotKeyAction"));
    return calls;
}

const QVector<int> kPickModes = {0, 0, 0, 2, 2, 11, 19, 22, 23, 37, 5};
const QVector<int> kDialogModes = {0, 0, 0, 5, 9, 67, 3};
const QVector<int> kFaultCodes = {UB::ToCode(0x80004005u), UB::ToCode(0x80070057u), -1};

bool Visible(const QWidget* widget)
{
    return widget != nullptr && widget->isVisible();
}

QString Names(CSceneModel& scene, const HandleList& handles)
{
    QStringList names;
    for (UB::CHandle* handle : handles)
        names.append(scene.Contains(handle) ? scene.Name(handle) : QStringLiteral("<invalid>"));
    return QLatin1Char('[') + names.join(QStringLiteral(", ")) + QLatin1Char(']');
}

} // namespace

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
    AddEvents();

    m_description = QStringLiteral("after Initialize, before any host event");
    if (!Check({}))
        return false;
    while (m_event < m_settings.events) {
        scene.ClearJournal();
        int total = 0;
        QVector<int> possible;
        for (int i = 0; i < m_events.size(); ++i) {
            if (m_events.at(i).possible()) {
                possible.append(i);
                total += m_events.at(i).weight;
            }
        }
        int draw = Bounded(total);
        const CEvent* chosen = &m_events.at(possible.constFirst());
        for (int index : qAsConst(possible)) {
            draw -= m_events.at(index).weight;
            if (draw < 0) {
                chosen = &m_events.at(index);
                break;
            }
        }
        QStringList found;
        chosen->run(&found);
        if (m_failed)
            return false;
        QApplication::processEvents();
        if (!Check(found))
            return false;
    }
    return startedWell;
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

UB::CHandle* CSessionRunner::RandomNode()
{
    const QVector<UB::CHandle*> nodes = m_host->Scene().AllNodes();
    return nodes.isEmpty() ? nullptr : nodes.at(Bounded(nodes.size()));
}

// ---- The events ---------------------------------------------------------------------------------

void CSessionRunner::AddEvents()
{
    const CPluginWidgets& w = m_host->Widgets();
    const auto always = [] {
        return true;
    };
    const auto visible = [](const QPointer<QWidget>& widget) {
        return [widget] {
            return Visible(widget);
        };
    };
    // QAction::trigger() runs even a disabled action; a user reaches only enabled ones.
    const auto actionShown = [](const QPointer<QAction>& action) {
        return [action] {
            return action && action->isVisible() && action->isEnabled();
        };
    };
    const auto click = [](const QPointer<QPushButton>& button) {
        return [button] {
            QTest::mouseClick(button, Qt::LeftButton);
        };
    };
    const auto trigger = [](const QPointer<QAction>& action) {
        return [action] {
            action->trigger();
        };
    };
    const QPointer<QToolButton> split = w.splitButton;
    const auto clickSplit = [split] {
        // The main part, away from the drop-down arrow at the right.
        QTest::mouseClick(split, Qt::LeftButton, Qt::NoModifier,
                          QPoint(split->width() / 4, split->height() / 2));
    };
    const QPointer<QToolButton> subNode = w.linkSubNode;
    const QPointer<QPushButton> pick = w.pickParent;
    const QPointer<QPushButton> unlink = w.unlink;
    const QPointer<QPushButton> camera = w.linkCamera;
    const QPointer<QAction> link = w.linkAction;
    const QPointer<QAction> unlinkAction = w.unlinkAction;
    const QPointer<QAction> linkTo = w.linkToAction;
    const QPointer<QAction> linkToCamera = w.linkToCameraAction;
    const QPointer<QAction> contextUnlink = w.contextUnlinkAction;

    m_events = {
        {14, always,
         [this](QStringList* p) {
             Select(p, 0);
         }},
        {6, always,
         [this](QStringList* p) {
             Select(p, 1);
         }},
        {3, always,
         [this](QStringList* p) {
             Select(p, 2);
         }},
        {3, always,
         [this](QStringList* p) {
             Select(p, 3);
         }},
        {8, always,
         [this](QStringList* p) {
             Select(p, 4);
         }},
        {5, always,
         [this](QStringList* p) {
             HostLink(p, false);
         }},
        {2, always,
         [this](QStringList* p) {
             HostLink(p, true);
         }},
        {8, [this] { return m_host->Scene().PickMode() == 2; },
         [this](QStringList* p) {
             HostPick(p);
         }},
        {2, [this] { return m_host->Scene().Objects().size() > 3; },
         [this](QStringList* p) {
             DeleteNodes(p);
         }},
        {2, always,
         [this](QStringList* p) {
             AddObject(p);
         }},
        {6, always,
         [this](QStringList* p) {
             ChangeTime(p);
         }},
        {4, always,
         [this](QStringList* p) {
             PlayOrStop(p);
         }},
        {4, always,
         [this](QStringList* p) {
             ChangePickMode(p);
         }},
        {3, always,
         [this](QStringList* p) {
             ChangeDialogMode(p);
         }},
        {3, always,
         [this](QStringList* p) {
             LoadFile(p);
         }},
        {9, always,
         [this](QStringList* p) {
             SendDataEvent(p);
         }},
        {3, always,
         [this](QStringList* p) {
             DriftHostState(p);
         }},
        {3, always,
         [this](QStringList* p) {
             UndoOrRedo(p);
         }},
        {3, always,
         [this](QStringList* p) {
             InjectOrClearFault(p);
         }},
        {6, visible(pick.data()),
         [this, pick, click](QStringList* p) {
             PickParent(p, QStringLiteral("click qtPickParent"), click(pick), pick->isEnabled());
         }},
        {3, visible(split.data()),
         [this, split, clickSplit](QStringList* p) {
             PickParent(p, QStringLiteral("click the split link button"), clickSplit,
                        split->isEnabled());
         }},
        {2, actionShown(link),
         [this, link, trigger](QStringList* p) {
             PickParent(p, QStringLiteral("trigger qtLinkAction"), trigger(link),
                        link->isEnabled());
         }},
        {2, actionShown(linkTo),
         [this, linkTo, trigger](QStringList* p) {
             PickParent(p, QStringLiteral("trigger qtCLinkToAction"), trigger(linkTo),
                        linkTo->isEnabled());
         }},
        {4, visible(unlink.data()),
         [this, unlink, click](QStringList* p) {
             Unlink(p, QStringLiteral("click qtUnlink"), click(unlink), unlink->isEnabled());
         }},
        {2, actionShown(unlinkAction),
         [this, unlinkAction, trigger](QStringList* p) {
             Unlink(p, QStringLiteral("trigger qtUnlinkAction"), trigger(unlinkAction),
                    unlinkAction->isEnabled());
         }},
        {2, actionShown(contextUnlink),
         [this, contextUnlink, trigger](QStringList* p) {
             Unlink(p, QStringLiteral("trigger qtCUnlinkAction"), trigger(contextUnlink),
                    contextUnlink->isEnabled());
         }},
        {3, visible(camera.data()),
         [this, camera, click](QStringList* p) {
             LinkToCamera(p, QStringLiteral("click qtLinkCameraPushButton"), click(camera),
                          camera->isEnabled());
         }},
        {2, actionShown(linkToCamera),
         [this, linkToCamera, trigger](QStringList* p) {
             LinkToCamera(p, QStringLiteral("trigger qtCLinkToCameraAction"), trigger(linkToCamera),
                          linkToCamera->isEnabled());
         }},
        // The sub-node button is mostly disabled; its dialog is where most of the work lies.
        {25, [subNode] { return Visible(subNode) && subNode->isEnabled(); },
         [this](QStringList* p) {
             LinkToSubNode(p);
         }},
        {1, [subNode] { return Visible(subNode) && !subNode->isEnabled(); },
         [this](QStringList* p) {
             LinkToSubNode(p);
         }},
        {2, [split] { return Visible(split) && split->isEnabled(); },
         [this](QStringList* p) {
             UseSplitMenu(p);
         }},
        {2, [hotkey = w.sectionHotkey] { return hotkey && hotkey->isEnabled(); },
         [this](QStringList* p) {
             SectionHotkey(p);
         }},
        {3, [hotkey = w.escHotkey] { return hotkey && hotkey->isEnabled(); },
         [this](QStringList* p) {
             EscHotkey(p);
         }},
    };
}

void CSessionRunner::Select(QStringList* problems, int kind)
{
    CSceneModel& scene = m_host->Scene();
    QVector<UB::CHandle*> selection;
    if (kind == 0) {
        selection = {RandomObject(true)};
    } else if (kind == 1) {
        const int count = 2 + Bounded(3);
        for (int i = 0; i < count; ++i)
            selection.append(RandomObject(Chance(80)));
    } else if (kind == 4) {
        // An object that hangs from a parent now: the one case that offers the sub-node dialog.
        for (UB::CHandle* object : scene.Objects()) {
            if (scene.LinkParentAt(object, scene.CurrentTime()) != nullptr)
                selection.append(object);
        }
        if (!selection.isEmpty())
            selection = {selection.at(Bounded(selection.size()))};
    } else if (kind == 3) {
        // Inner nodes, which the host leaves out of the top-level selection, and objects the
        // section may not link.
        selection = {RandomNode()};
        if (Chance(50))
            selection.append(RandomObject(false));
    }
    QStringList names;
    for (UB::CHandle* handle : qAsConst(selection))
        names.append(scene.Name(handle));
    Begin(QStringLiteral("select [%1]").arg(names.join(QStringLiteral(", "))));
    scene.SetSelection(selection);
    Q_UNUSED(problems)
}

void CSessionRunner::HostLink(QStringList* problems, bool unlink)
{
    CSceneModel& scene = m_host->Scene();
    UB::CHandle* object = Chance(60) && !scene.Selection().isEmpty()
                              ? scene.Selection().constFirst()
                              : RandomObject(false);
    const bool notify = Chance(85);
    if (unlink) {
        Begin(QStringLiteral("the host unlinks \"%1\"%2")
                  .arg(scene.Name(object), notify ? QString() : QStringLiteral(" silently")));
        scene.UnlinkObject(object, scene.CurrentTime(), true, notify);
        return;
    }
    UB::CHandle* target = Chance(10) ? nullptr : (Chance(60) ? RandomObject(false) : RandomNode());
    const int align = Bounded(3);
    Begin(QStringLiteral("the host links \"%1\" to %2 with alignment %3%4")
              .arg(scene.Name(object),
                   target != nullptr ? QLatin1Char('"') + scene.Name(target) + QLatin1Char('"')
                                     : QStringLiteral("nothing"))
              .arg(align)
              .arg(notify ? QString() : QStringLiteral(" silently")));
    scene.LinkObjects(HandleList{object}, target, align, scene.CurrentTime(), true, notify);
    Q_UNUSED(problems)
}

void CSessionRunner::HostPick(QStringList* problems)
{
    // What the host does in pick-parent mode: the picked object becomes the parent of the
    // selection, and the mode ends.
    CSceneModel& scene = m_host->Scene();
    UB::CHandle* target = Chance(70) ? RandomObject(false) : RandomNode();
    Begin(QStringLiteral("the user picks \"%1\" as the parent").arg(scene.Name(target)));
    HandleList selection;
    for (UB::CHandle* object : scene.Selection())
        selection.Add(object);
    scene.LinkObjects(selection, target, 0, scene.CurrentTime(), true, true);
    scene.ChangePickMode(0);
    Q_UNUSED(problems)
}

void CSessionRunner::DeleteNodes(QStringList* problems)
{
    CSceneModel& scene = m_host->Scene();
    UB::CHandle* node = Chance(70) ? RandomObject(false) : RandomNode();
    if (Chance(30) && !scene.Selection().isEmpty())
        node = scene.Selection().constFirst();
    Begin(QStringLiteral("the host deletes \"%1\"").arg(scene.Name(node)));
    scene.DeleteNodes({node});
    Q_UNUSED(problems)
}

void CSessionRunner::AddObject(QStringList* problems)
{
    CSceneModel& scene = m_host->Scene();
    CNodeDesc desc;
    desc.name = m_generator->RandomName();
    desc.objectType = m_generator->RandomObjectType();
    Begin(QStringLiteral("the host adds \"%1\" of type %2").arg(desc.name).arg(desc.objectType));
    scene.AddObject(desc);
    scene.SendHierarchyChanged();
    Q_UNUSED(problems)
}

void CSessionRunner::ChangeTime(QStringList* problems)
{
    CSceneModel& scene = m_host->Scene();
    UBTime time = scene.CurrentTime();
    const QVector<UBTime> keys = scene.LinkKeyTimes(RandomObject(false));
    if (Chance(50) && !keys.isEmpty())
        time = keys.at(Bounded(keys.size())) - (Chance(30) ? 1 : 0);
    else if (!Chance(10))
        time = Bounded(70);
    Begin(QStringLiteral("the time changes to %1").arg(time));
    scene.SetCurrentTime(time);
    Q_UNUSED(problems)
}

void CSessionRunner::PlayOrStop(QStringList* problems)
{
    CSceneModel& scene = m_host->Scene();
    if (scene.Playing() && !Chance(15)) {
        Begin(QStringLiteral("playback stops"));
        scene.Stop();
    } else {
        Begin(QStringLiteral("playback starts"));
        scene.Play();
    }
    Q_UNUSED(problems)
}

void CSessionRunner::ChangePickMode(QStringList* problems)
{
    const int mode = m_generator->Pick(kPickModes);
    Begin(QStringLiteral("the host's pick mode becomes %1").arg(mode));
    m_host->Scene().ChangePickMode(mode);
    Q_UNUSED(problems)
}

void CSessionRunner::ChangeDialogMode(QStringList* problems)
{
    const int mode = m_generator->Pick(kDialogModes);
    Begin(QStringLiteral("the host's dialog mode becomes %1").arg(mode));
    m_host->Scene().SetDialogMode(mode);
    Q_UNUSED(problems)
}

void CSessionRunner::LoadFile(QStringList* problems)
{
    CSceneModel& scene = m_host->Scene();
    const int choice = Bounded(4);
    if (choice == 0) {
        const int type = 1 + Bounded(2);
        Begin(QStringLiteral("the host sends FileLoaded(%1)").arg(type));
        scene.SendFileLoaded(type);
        return;
    }
    const QByteArray file = m_generator->MakeFile();
    if (choice == 1) {
        Begin(QStringLiteral("the host offers a corrupted scene file"));
        CSceneFileFuzzer fuzzer(m_random);
        const CSceneFileFuzzer::CVariant variant = fuzzer.MakeVariant(file);
        m_description += QStringLiteral(" (%1)").arg(variant.kind);
        const QStringList found =
            CSceneFileFuzzer::Offer(scene, variant, QStringLiteral("offered.json"));
        for (const QString& problem : found)
            problems->append(QStringLiteral("scene loader: %1").arg(problem));
        return;
    }
    Begin(QStringLiteral("the host opens another scene file"));
    QString error;
    if (!scene.LoadJson(file, QStringLiteral("generated.json"), &error))
        problems->append(QStringLiteral("a generated scene file does not load: %1").arg(error));
}

void CSessionRunner::SendDataEvent(QStringList* problems)
{
    CSceneModel& scene = m_host->Scene();
    CEventSender* sender = scene.EventSender();
    switch (Bounded(7)) {
    case 0: {
        UB::CHandle* object = RandomObject(false);
        Begin(QStringLiteral("the host sends a link event for \"%1\"").arg(scene.Name(object)));
        scene.SendLinkEvent(object);
        break;
    }
    case 1: {
        static const QVector<int> types = {1, 2, 3, 4, 6};
        const int type = m_generator->Pick(types);
        Begin(QStringLiteral("the host sends ObjectDataChanged with change type %1").arg(type));
        scene.SendObjectDataChanged({RandomObject(false)}, type);
        break;
    }
    case 2:
        Begin(QStringLiteral("the host sends HierarchyChanged"));
        scene.SendHierarchyChanged();
        break;
    case 3: {
        CBaseEvent event;
        Begin(QStringLiteral("the host sends ObjectDataChanged2 with a CBaseEvent"));
        emit sender->ObjectDataChanged2(&event);
        break;
    }
    case 4: {
        CAnimationEvent event;
        Begin(QStringLiteral("the host sends ObjectDataChanged2 with a CAnimationEvent"));
        emit sender->ObjectDataChanged2(&event);
        break;
    }
    case 5: {
        CLinkKeyEvent event;
        Begin(QStringLiteral("the host sends ObjectDataChanged2 with a class derived from "
                             "CLinkEvent"));
        emit sender->ObjectDataChanged2(&event);
        break;
    }
    default: {
        CLinkEventsLookalike event;
        Begin(QStringLiteral("the host sends ObjectDataChanged2 with a class named "
                             "\"CLinkEvents\""));
        emit sender->ObjectDataChanged2(&event);
        break;
    }
    }
    Q_UNUSED(problems)
}

void CSessionRunner::DriftHostState(QStringList* problems)
{
    // Host state that changes without an event; the widgets follow at the next event.
    CSceneModel& scene = m_host->Scene();
    UB::CHandle* node = Chance(70) ? RandomObject(false) : RandomNode();
    CNodeDesc& desc = scene.Desc(node);
    const QString name = desc.name;
    switch (Bounded(5)) {
    case 0:
        desc.linkBlocked = !desc.linkBlocked;
        Begin(QStringLiteral("\"%1\" becomes %2 silently")
                  .arg(name, desc.linkBlocked ? QStringLiteral("link-blocked")
                                              : QStringLiteral("not link-blocked")));
        break;
    case 1:
        desc.linkDisabled = !desc.linkDisabled;
        Begin(QStringLiteral("\"%1\" becomes %2 silently")
                  .arg(name, desc.linkDisabled ? QStringLiteral("link-disabled")
                                               : QStringLiteral("not link-disabled")));
        break;
    case 2:
        desc.objectType = m_generator->RandomObjectType();
        Begin(QStringLiteral("\"%1\" becomes of type %2 silently").arg(name).arg(desc.objectType));
        break;
    case 3:
        desc.subNodeLinkExcluded = !desc.subNodeLinkExcluded;
        Begin(QStringLiteral("\"%1\" changes its sub-node exclusion silently").arg(name));
        break;
    default:
        desc.name = m_generator->RandomName();
        Begin(QStringLiteral("\"%1\" is renamed \"%2\" silently").arg(name, desc.name));
        break;
    }
    Q_UNUSED(problems)
}

void CSessionRunner::UndoOrRedo(QStringList* problems)
{
    QUndoStack* stack = m_host->Scene().UndoStack();
    if (stack->canRedo() && (Chance(50) || !stack->canUndo())) {
        Begin(QStringLiteral("the host redoes \"%1\"").arg(stack->redoText()));
        stack->redo();
    } else {
        Begin(QStringLiteral("the host undoes \"%1\"").arg(stack->undoText()));
        stack->undo();
    }
    Q_UNUSED(problems)
}

void CSessionRunner::InjectOrClearFault(QStringList* problems)
{
    CSceneModel& scene = m_host->Scene();
    if (m_faults.size() < 2 && Chance(55)) {
        static const QStringList calls = FailingCalls();
        const QString call = calls.at(Bounded(calls.size()));
        const int code = m_generator->Pick(kFaultCodes);
        const bool scribbleDrawn = Chance(50); // drawn always, so the options do not shift the seed
        const bool scribble = m_settings.scribbleFaults && scribbleDrawn;
        Begin(QStringLiteral("from now on every %1 fails with 0x%2%3")
                  .arg(call)
                  .arg(static_cast<quint32>(code), 8, 16, QLatin1Char('0'))
                  .arg(scribble ? QStringLiteral(" and scribbles its out-values") : QString()));
        scene.InjectFault(call, code, -1, scribble);
        m_faults.insert(call);
    } else if (!m_faults.isEmpty() && Chance(70)) {
        const QStringList active = m_faults.values();
        const QString call = active.at(Bounded(active.size()));
        Begin(QStringLiteral("%1 works again").arg(call));
        scene.ClearFault(call);
        m_faults.remove(call);
    } else {
        Begin(QStringLiteral("every host call works again"));
        scene.ClearFaults();
        m_faults.clear();
    }
    Q_UNUSED(problems)
}

// ---- User actions -------------------------------------------------------------------------------

void CSessionRunner::PickParent(QStringList* problems, const QString& how,
                                const std::function<void()>& act, bool runs)
{
    CSceneModel& scene = m_host->Scene();
    Begin(how);
    HandleList selection;
    m_queries->Selection(selection);
    const bool enters = runs && m_queries->CanLink(selection);
    const int before = scene.PickMode();
    act();
    if (enters)
        m_oracle->CommandPickParentRan();
    const int expected = enters && !m_faults.contains(QStringLiteral("SetPickMode")) ? 2 : before;
    if (scene.PickMode() != expected)
        problems->append(QStringLiteral("the host's pick mode is %1, should be %2 (%3)")
                             .arg(scene.PickMode())
                             .arg(expected)
                             .arg(enters ? QStringLiteral("the selection may be linked")
                                         : QStringLiteral("the command must not enter pick mode")));
}

void CSessionRunner::Unlink(QStringList* problems, const QString& how,
                            const std::function<void()>& act, bool runs)
{
    CSceneModel& scene = m_host->Scene();
    Begin(how);
    HandleList selection;
    m_queries->Selection(selection);
    HandleList expected;
    if (runs) {
        for (UB::CHandle* object : qAsConst(selection)) {
            if (m_queries->CanLink(object))
                expected.Add(object);
        }
    }
    const int journalStart = scene.Journal().size();
    act();
    HandleList unlinked;
    QStringList wrongArguments;
    const QString now = QString::number(scene.CurrentTime());
    for (int i = journalStart; i < scene.Journal().size(); ++i) {
        const CJournalEntry& entry = scene.Journal().at(i);
        if (entry.call != QLatin1String("UnlinkObject"))
            continue;
        if (entry.args.mid(1) != QStringList{now, QStringLiteral("true"), QStringLiteral("true")})
            wrongArguments.append(entry.ToString());
    }
    QStringList calledFor;
    for (int i = journalStart; i < scene.Journal().size(); ++i) {
        if (scene.Journal().at(i).call == QLatin1String("UnlinkObject"))
            calledFor.append(scene.Journal().at(i).args.value(0));
    }
    const QString expectedNames = Names(scene, expected);
    const QString calledNames =
        QLatin1Char('[') + calledFor.join(QStringLiteral(", ")) + QLatin1Char(']');
    if (calledNames != expectedNames)
        problems->append(QStringLiteral("UnlinkObject was called for %1, should be for %2")
                             .arg(calledNames, expectedNames));
    if (!wrongArguments.isEmpty())
        problems->append(QStringLiteral("UnlinkObject got other arguments than (object, %1, true, "
                                        "true): %2")
                             .arg(now, wrongArguments.join(QStringLiteral("; "))));
    if (m_faults.contains(QStringLiteral("UnlinkObject")))
        return;
    for (UB::CHandle* object : qAsConst(expected)) {
        if (scene.Contains(object) && scene.LinkParentAt(object, scene.CurrentTime()) != nullptr)
            problems->append(QStringLiteral("\"%1\" still hangs from \"%2\"")
                                 .arg(scene.Name(object),
                                      scene.Name(scene.LinkParentAt(object, scene.CurrentTime()))));
    }
}

void CSessionRunner::LinkToCamera(QStringList* problems, const QString& how,
                                  const std::function<void()>& act, bool runs)
{
    CSceneModel& scene = m_host->Scene();
    Begin(how);
    HandleList selection;
    m_queries->Selection(selection);
    const bool links =
        runs && selection.GetCount() == 1 && m_queries->ObjectType(selection[0]) == 41;
    UB::CHandle* camera = m_queries->Camera();
    const QString cameraName = m_queries->Name(camera);
    const int journalStart = scene.Journal().size();
    act();
    if (links)
        m_oracle->CommandLinkToCameraRan(cameraName);
    QStringList calls;
    for (int i = journalStart; i < scene.Journal().size(); ++i) {
        const CJournalEntry& entry = scene.Journal().at(i);
        if (entry.call == QLatin1String("LinkObjects") ||
            entry.call == QLatin1String("UnlinkObject"))
            calls.append(entry.ToString().section(QStringLiteral(" -> "), 0, 0));
    }
    QStringList expected;
    if (links)
        expected.append(QStringLiteral("LinkObjects(%1, %2, 0, %3, true, true)")
                            .arg(Names(scene, selection), camera == nullptr ? QStringLiteral("null")
                                                          : scene.Contains(camera)
                                                              ? scene.Name(camera)
                                                              : QStringLiteral("<invalid>"))
                            .arg(scene.CurrentTime()));
    if (calls != expected)
        problems->append(
            QStringLiteral("the link calls were [%1], should be [%2]")
                .arg(calls.join(QStringLiteral("; ")), expected.join(QStringLiteral("; "))));
}

void CSessionRunner::LinkToSubNode(QStringList* problems)
{
    Begin(QStringLiteral("click qtLinkSubNode"));
    if (!m_dialog->Click(m_host->Widgets().linkSubNode, problems))
        m_failed = true;
}

void CSessionRunner::UseSplitMenu(QStringList* problems)
{
    const CPluginWidgets& w = m_host->Widgets();
    QMenu* menu = w.splitButton->menu();
    const bool chooseLink = Chance(50);
    QAction* action = chooseLink ? w.linkAction.data() : w.unlinkAction.data();
    const QString how = QStringLiteral("choose %1 from the split button's drop-down")
                            .arg(chooseLink ? QStringLiteral("Link") : QStringLiteral("Unlink"));
    const auto act = [menu, action, &w] {
        if (menu == nullptr)
            return;
        menu->popup(w.splitButton->mapToGlobal(QPoint(0, w.splitButton->height())));
        const QRect rect = menu->actionGeometry(action);
        if (!rect.isEmpty())
            QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, rect.center());
        if (menu->isVisible())
            menu->hide();
    };
    if (chooseLink)
        PickParent(problems, how, act, action->isEnabled());
    else
        Unlink(problems, how, act, action->isEnabled());
}

void CSessionRunner::SectionHotkey(QStringList* problems)
{
    const CPluginWidgets& w = m_host->Widgets();
    Begin(QStringLiteral("press the Linkage section hot key"));
    const bool runs = w.sectionHotkey->isEnabled();
    const bool shows =
        runs && Visible(w.section) && !m_faults.contains(QStringLiteral("ShowSection"));
    const QStringList expected = shows ? QStringList{QStringLiteral("(4, 0, 336)")} : QStringList();
    m_sectionShowRequests.clear();
    w.sectionHotkey->trigger();
    if (m_sectionShowRequests != expected)
        problems->append(QStringLiteral("the host was asked to show the sections [%1], should be "
                                        "[%2] (panel, tab, section; the section is %3)")
                             .arg(m_sectionShowRequests.join(QStringLiteral(", ")),
                                  expected.join(QStringLiteral(", ")),
                                  Visible(w.section) ? QStringLiteral("visible")
                                                     : QStringLiteral("not visible")));
}

void CSessionRunner::EscHotkey(QStringList* problems)
{
    const CPluginWidgets& w = m_host->Widgets();
    CSceneModel& scene = m_host->Scene();
    Begin(QStringLiteral("press the Esc hot key"));
    const bool runs = w.escHotkey->isEnabled();
    const int before = scene.PickMode();
    w.escHotkey->trigger();
    if (runs)
        m_oracle->CommandEscRan();
    const int expected = runs && !m_faults.contains(QStringLiteral("SetPickMode")) ? 0 : before;
    if (scene.PickMode() != expected)
        problems->append(QStringLiteral("the host's pick mode is %1, should be %2")
                             .arg(scene.PickMode())
                             .arg(expected));
}

} // namespace KV
