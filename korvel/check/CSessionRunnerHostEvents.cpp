// What the host does during a session: selections, links it makes itself, deletions, time,
// playback, modes, files, events about objects, state that changes silently, undo and redo,
// and host calls made to fail.

#include "CSessionRunner.h"

#include "CHostWindow.h"
#include "CSceneFileFuzzer.h"
#include "CSceneGenerator.h"
#include "KVSceneModel.h"
#include "host/KVEvents.h"

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

} // namespace

// ---- Selections ---------------------------------------------------------------------------------

void CSessionRunner::SelectOneObject()
{
    Select({RandomObject(true)});
}

void CSessionRunner::SelectSeveralObjects()
{
    QVector<UB::CHandle*> selection;
    const int count = 2 + Bounded(3);
    for (int i = 0; i < count; ++i)
        selection.append(RandomObject(Chance(80)));
    Select(selection);
}

void CSessionRunner::SelectNothing()
{
    Select({});
}

void CSessionRunner::SelectInnerNodes()
{
    // Inner nodes, which the host leaves out of the top-level selection, and objects the
    // section may not link.
    QVector<UB::CHandle*> selection = {RandomNode()};
    if (Chance(50))
        selection.append(RandomObject(false));
    Select(selection);
}

void CSessionRunner::SelectLinkedObject()
{
    // An object that hangs from a parent now: the one case that offers the sub-node dialog.
    CSceneModel& scene = m_host->Scene();
    QVector<UB::CHandle*> linked;
    for (UB::CHandle* object : scene.Objects()) {
        if (scene.LinkParentAt(object, scene.CurrentTime()) != nullptr)
            linked.append(object);
    }
    Select(linked.isEmpty() ? linked : QVector<UB::CHandle*>{linked.at(Bounded(linked.size()))});
}

void CSessionRunner::Select(const QVector<UB::CHandle*>& selection)
{
    CSceneModel& scene = m_host->Scene();
    QStringList names;
    for (UB::CHandle* handle : selection)
        names.append(scene.Name(handle));
    Begin(QStringLiteral("select [%1]").arg(names.join(QStringLiteral(", "))));
    scene.SetSelection(selection);
}

// ---- Links, deletions and new objects -----------------------------------------------------------

void CSessionRunner::HostLinks()
{
    CSceneModel& scene = m_host->Scene();
    UB::CHandle* object = Chance(60) && !scene.Selection().isEmpty()
                              ? scene.Selection().constFirst()
                              : RandomObject(false);
    const bool notify = Chance(85);
    UB::CHandle* target = Chance(10) ? nullptr : (Chance(60) ? RandomObject(false) : RandomNode());
    const int align = Bounded(3);
    Begin(QStringLiteral("the host links \"%1\" to %2 with alignment %3%4")
              .arg(scene.Name(object),
                   target != nullptr ? QLatin1Char('"') + scene.Name(target) + QLatin1Char('"')
                                     : QStringLiteral("nothing"))
              .arg(align)
              .arg(notify ? QString() : QStringLiteral(" silently")));
    scene.LinkObjects(HandleList{object}, target, align, scene.CurrentTime(), true, notify);
}

void CSessionRunner::HostUnlinks()
{
    CSceneModel& scene = m_host->Scene();
    UB::CHandle* object = Chance(60) && !scene.Selection().isEmpty()
                              ? scene.Selection().constFirst()
                              : RandomObject(false);
    const bool notify = Chance(85);
    Begin(QStringLiteral("the host unlinks \"%1\"%2")
              .arg(scene.Name(object), notify ? QString() : QStringLiteral(" silently")));
    scene.UnlinkObject(object, scene.CurrentTime(), true, notify);
}

void CSessionRunner::HostPicksParent()
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
}

void CSessionRunner::HostDeletesNode()
{
    CSceneModel& scene = m_host->Scene();
    UB::CHandle* node = Chance(70) ? RandomObject(false) : RandomNode();
    if (Chance(30) && !scene.Selection().isEmpty())
        node = scene.Selection().constFirst();
    Begin(QStringLiteral("the host deletes \"%1\"").arg(scene.Name(node)));
    scene.DeleteNodes({node});
}

void CSessionRunner::HostAddsObject()
{
    CSceneModel& scene = m_host->Scene();
    CNodeDesc desc;
    desc.name = m_generator->RandomName();
    desc.objectType = m_generator->RandomObjectType();
    Begin(QStringLiteral("the host adds \"%1\" of type %2").arg(desc.name).arg(desc.objectType));
    scene.AddObject(desc);
    scene.SendHierarchyChanged();
}

// ---- Time, playback and modes -------------------------------------------------------------------

void CSessionRunner::TimeChanges()
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
}

void CSessionRunner::PlaybackStartsOrStops()
{
    CSceneModel& scene = m_host->Scene();
    if (scene.Playing() && !Chance(15)) {
        Begin(QStringLiteral("playback stops"));
        scene.Stop();
    } else {
        Begin(QStringLiteral("playback starts"));
        scene.Play();
    }
}

void CSessionRunner::PickModeChanges()
{
    const int mode = m_generator->Pick(kPickModes);
    Begin(QStringLiteral("the host's pick mode becomes %1").arg(mode));
    m_host->Scene().ChangePickMode(mode);
}

void CSessionRunner::DialogModeChanges()
{
    const int mode = m_generator->Pick(kDialogModes);
    Begin(QStringLiteral("the host's dialog mode becomes %1").arg(mode));
    m_host->Scene().SetDialogMode(mode);
}

// ---- Files and events about objects ------------------------------------------------------------

void CSessionRunner::FileEvent()
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
        for (const QString& problem :
             CSceneFileFuzzer::Offer(scene, variant, QStringLiteral("offered.json")))
            Problem(QStringLiteral("scene loader: %1").arg(problem));
        return;
    }
    Begin(QStringLiteral("the host opens another scene file"));
    QString error;
    if (!scene.LoadJson(file, QStringLiteral("generated.json"), &error))
        Problem(QStringLiteral("a generated scene file does not load: %1").arg(error));
}

void CSessionRunner::DataEvent()
{
    CSceneModel& scene = m_host->Scene();
    CEventSender* sender = scene.EventSender();
    const auto sendEvent = [this, sender](CBaseEvent&& event, const QString& kind) {
        Begin(QStringLiteral("the host sends ObjectDataChanged2 with %1").arg(kind));
        emit sender->ObjectDataChanged2(&event);
    };
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
    case 3:
        sendEvent(CBaseEvent(), QStringLiteral("a CBaseEvent"));
        break;
    case 4:
        sendEvent(CAnimationEvent(), QStringLiteral("a CAnimationEvent"));
        break;
    case 5:
        sendEvent(CLinkKeyEvent(), QStringLiteral("a class derived from CLinkEvent"));
        break;
    default:
        sendEvent(CLinkEventsLookalike(), QStringLiteral("a class named \"CLinkEvents\""));
        break;
    }
}

void CSessionRunner::HostStateDrifts()
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
}

// ---- Undo and failing host calls ---------------------------------------------------------------

void CSessionRunner::UndoOrRedo()
{
    QUndoStack* stack = m_host->Scene().UndoStack();
    if (stack->canRedo() && (Chance(50) || !stack->canUndo())) {
        Begin(QStringLiteral("the host redoes \"%1\"").arg(stack->redoText()));
        stack->redo();
    } else {
        Begin(QStringLiteral("the host undoes \"%1\"").arg(stack->undoText()));
        stack->undo();
    }
}

void CSessionRunner::FaultsChange()
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
}

} // namespace KV
