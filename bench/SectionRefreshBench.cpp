#include "KVSceneModel.h"
#include "plugin/CLinkagePlugin.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

// What one CurrentTimeChanged costs while an animator scrubs: the Link commands' state and the
// Linkage section refresh together, the section shown in a host window, on selections of one,
// a hundred and ten thousand linked objects. The floor asks the host the questions the rules
// need, each once, and sets the same states on bare widgets of the same kinds. Each iteration
// ends by delivering the events the refresh posted (repaints, relayouts), as the host's event
// loop would before the next time change.

namespace {

constexpr int kObjects = 10000;
// Different parents that all carry one name, so that several objects count as sharing a
// parent and the common name is looked up for every one of them.
constexpr int kParents = 100;
constexpr int kScrubEvents = 1000;
constexpr double kGoalRatio = 1.5;
constexpr double kOneObjectGoalMs = 0.05;

constexpr int kLinkableTypes[] = {1,  2,  3,  4,  5,  7,  8,  14, 15, 18,
                                  19, 21, 23, 24, 25, 41, 45, 46, 54};

bool IsLinkableType(int type)
{
    return std::find(std::begin(kLinkableTypes), std::end(kLinkableTypes), type) !=
           std::end(kLinkableTypes);
}

bool IsLinkBlockingPickMode(KV::EPickMode mode)
{
    return mode == KV::ePickBlockingA || mode == KV::ePickBlockingB;
}

/// The scene, the plug-in with its section and tool bar in a shown host window, and the bare
/// widgets of the floor in a window of their own.
class CRefreshFixture
{
public:
    CRefreshFixture()
    {
        scene.SetJournalEnabled(false);
        scene.SetMainWindow(&window);
        floorScene.SetJournalEnabled(false);
        objects = AddObjects(scene);
        floorObjects = AddObjects(floorScene);
        ready = plugin.Initialize(QStringLiteral(KV_PLUGIN_DIR), QStringLiteral("Light"), &scene) ==
                UB::kOk;
        if (ready)
            ShowPlugin();
        BuildFloor();
    }

    void Select(int count)
    {
        scene.SetSelection(objects.mid(0, count));
        floorScene.SetSelection(floorObjects.mid(0, count));
        QCoreApplication::sendPostedEvents();
    }

    // The host's event sender goes before the window that holds the section.
    QMainWindow window;
    KV::CSceneModel scene;
    KV::CLinkagePlugin plugin;
    QVector<UB::CHandle*> objects;
    bool ready = false;
    UBTime time = 0;

    // The floor's scene: the same objects, whose time changes reach only the floor.
    KV::CSceneModel floorScene;
    QVector<UB::CHandle*> floorObjects;

    // The floor's stand-ins: the section's widgets, the split button and the commands.
    QWidget floorWindow;
    QGroupBox* floorBody = nullptr;
    QLabel* floorLabel = nullptr;
    QLineEdit* floorText = nullptr;
    QPushButton* floorPick = nullptr;
    QPushButton* floorUnlink = nullptr;
    QPushButton* floorCamera = nullptr;
    QToolButton* floorSubNode = nullptr;
    QToolButton* floorSplit = nullptr;
    QMenu* floorLinkMenu = nullptr;
    QMenu* floorContextMenu = nullptr;
    QAction* floorLink = nullptr;
    QAction* floorUnlinkAction = nullptr;
    QAction* floorLinkTo = nullptr;
    QAction* floorLinkToCamera = nullptr;
    QAction* floorContextUnlink = nullptr;

private:
    static UB::CHandle* AddObject(KV::CSceneModel& to, const QString& name)
    {
        KV::CNodeDesc desc;
        desc.name = name;
        desc.objectType = 1;
        return to.AddObject(desc);
    }

    static QVector<UB::CHandle*> AddObjects(KV::CSceneModel& to)
    {
        std::vector<UB::CHandle*> parents;
        for (int i = 0; i < kParents; ++i)
            parents.push_back(AddObject(to, QStringLiteral("Table")));
        QVector<UB::CHandle*> added;
        for (int i = 0; i < kObjects; ++i) {
            UB::CHandle* object = AddObject(to, QStringLiteral("Prop_%1").arg(i));
            to.SetLinkKey(object, 0, parents[i % kParents]);
            added.append(object);
        }
        return added;
    }

    void ShowPlugin()
    {
        QList<QToolBar*> toolBars;
        plugin.GetToolBarsList(toolBars);
        window.addToolBar(toolBars.first());
        QList<KV::CSectionInterface*> sections;
        plugin.GetSectionList(sections);
        window.setCentralWidget(sections.first()->GetSectionWidget());
        window.resize(400, 300);
        window.show();
    }

    void BuildFloor()
    {
        auto* layout = new QVBoxLayout(&floorWindow);
        floorSplit = new QToolButton(&floorWindow);
        layout->addWidget(floorSplit);
        floorBody = new QGroupBox(&floorWindow);
        layout->addWidget(floorBody);
        auto* bodyLayout = new QVBoxLayout(floorBody);
        floorLabel = new QLabel(QStringLiteral("Parent:"), floorBody);
        floorText = new QLineEdit(floorBody);
        floorText->setReadOnly(true);
        floorPick = new QPushButton(QStringLiteral("Pick Parent"), floorBody);
        floorUnlink = new QPushButton(QStringLiteral("Unlink"), floorBody);
        floorCamera = new QPushButton(QStringLiteral("Link to Camera"), floorBody);
        floorSubNode = new QToolButton(floorBody);
        for (QWidget* widget : std::vector<QWidget*>{floorLabel, floorText, floorPick, floorUnlink,
                                                     floorCamera, floorSubNode})
            bodyLayout->addWidget(widget);

        floorLinkMenu = new QMenu(&floorWindow);
        floorLink = floorLinkMenu->addAction(QStringLiteral("Link"));
        floorUnlinkAction = floorLinkMenu->addAction(QStringLiteral("Unlink"));
        floorSplit->setMenu(floorLinkMenu);
        floorSplit->setPopupMode(QToolButton::MenuButtonPopup);
        floorContextMenu = new QMenu(&floorWindow);
        floorLinkTo = floorContextMenu->addAction(QStringLiteral("Link To"));
        floorLinkToCamera = floorContextMenu->addAction(QStringLiteral("Link To Camera"));
        floorContextUnlink = floorContextMenu->addAction(QStringLiteral("Unlink"));

        if (ready) {
            QList<KV::CSectionInterface*> sections;
            plugin.GetSectionList(sections);
            floorWindow.setStyleSheet(sections.first()->GetSectionWidget()->styleSheet());
        }
        floorWindow.resize(400, 300);
        floorWindow.show();
    }
};

std::unique_ptr<CRefreshFixture> fixture;

/// The fixture holds widgets: it has to go while the application still exists.
void ReleaseFixture()
{
    fixture.reset();
}

CRefreshFixture& Fixture()
{
    if (!fixture) {
        qAddPostRoutine(&ReleaseFixture);
        fixture = std::make_unique<CRefreshFixture>();
    }
    return *fixture;
}

void Goals(benchmark::State& state, double ratio, double ms)
{
    state.counters["goal_ratio"] = ratio;
    state.counters["goal_ms"] = ms;
}

/// One time change as the host makes it; both refreshes run inside its emission.
void ChangeTime(CRefreshFixture& f)
{
    f.scene.SetCurrentTime(++f.time);
    QCoreApplication::sendPostedEvents();
}

/// The questions a refresh of one object must ask, each once, and the states it sets.
void OneObjectFloor(CRefreshFixture& f)
{
    KV::CSceneManager* scene = f.floorScene.GetSceneManager();
    const bool playing = scene->IsPlaying();
    UB::CArrayList<UB::CHandle*> selection;
    scene->GetSelectedObjects(selection, true);
    UB::CHandle* object = selection[0];
    int type = 0;
    scene->GetObjectType(object, type);
    bool disabled = false;
    scene->IsLinkDisabled(object, disabled);
    const bool blocked = scene->IsLinkBlocked(object);
    const KV::EPickMode pickMode = scene->GetPickMode();
    const KV::EDialogMode dialogMode = scene->GetDialogMode();
    UB::CHandle* parent = nullptr;
    scene->GetLinkParent(object, scene->GetCurrentTime(), parent);
    const bool excluded = scene->IsSubNodeLinkExcluded(parent);
    int parentType = 0;
    scene->GetObjectType(parent, parentType);
    const QString name = QString::fromStdWString(scene->GetObjectName(parent));

    const bool on = !playing && !disabled && !blocked && IsLinkableType(type);
    const bool linkAllowed =
        on && !IsLinkBlockingPickMode(pickMode) && dialogMode == KV::eDialogNone;
    const bool linked = parent != nullptr;
    f.floorBody->setEnabled(true);
    f.floorWindow.show();
    f.floorCamera->setVisible(type == 41);
    f.floorText->setText(name);
    f.floorText->setEnabled(linked);
    f.floorPick->setEnabled(on);
    f.floorCamera->setEnabled(on);
    f.floorSubNode->setEnabled(linked && !excluded && parentType != 18 && parentType != 19);
    f.floorUnlink->setEnabled(linked);
    f.floorSplit->setEnabled(linkAllowed);
    f.floorLink->setEnabled(linkAllowed);
    f.floorLinkTo->setVisible(linkAllowed);
    f.floorLinkToCamera->setVisible(linkAllowed && type == 41);
    f.floorUnlinkAction->setEnabled(linkAllowed && linked);
    f.floorContextUnlink->setVisible(linkAllowed && linked);
}

/// The questions a refresh of several objects must ask: each object's type, whether its
/// linking is disabled, its parent and the parent's name; then the states it sets.
void SeveralObjectsFloor(CRefreshFixture& f)
{
    KV::CSceneManager* scene = f.floorScene.GetSceneManager();
    const bool playing = scene->IsPlaying();
    UB::CArrayList<UB::CHandle*> selection;
    scene->GetSelectedObjects(selection, true);
    const KV::EPickMode pickMode = scene->GetPickMode();
    const KV::EDialogMode dialogMode = scene->GetDialogMode();
    const UBTime now = scene->GetCurrentTime();
    bool linkable = true;
    bool shared = true;
    std::wstring name;
    for (UB::CHandle* object : selection) {
        int type = 0;
        scene->GetObjectType(object, type);
        bool disabled = false;
        scene->IsLinkDisabled(object, disabled);
        linkable = linkable && IsLinkableType(type) && !disabled;
        UB::CHandle* parent = nullptr;
        scene->GetLinkParent(object, now, parent);
        const std::wstring parentName = scene->GetObjectName(parent);
        shared = shared && parent != nullptr && (name.empty() || parentName == name);
        name = parentName;
    }
    const QString text = shared ? QString::fromStdWString(name) : QString();

    const bool allowed = linkable && !IsLinkBlockingPickMode(pickMode) &&
                         dialogMode != KV::eDialogExclusiveA && dialogMode != KV::eDialogExclusiveB;
    f.floorBody->setEnabled(true);
    f.floorWindow.show();
    f.floorCamera->hide();
    f.floorText->setText(text);
    f.floorText->setEnabled(!text.isEmpty());
    f.floorSubNode->setEnabled(false);
    f.floorPick->setEnabled(!playing);
    f.floorUnlink->setEnabled(!playing);
    f.floorLinkTo->setVisible(allowed);
    f.floorLinkToCamera->setVisible(false);
    f.floorContextUnlink->setVisible(allowed);
    f.floorSplit->setEnabled(allowed);
    f.floorLink->setEnabled(allowed);
    f.floorUnlinkAction->setEnabled(allowed);
}

void RefreshFloor(CRefreshFixture& f, int selected)
{
    if (selected == 1)
        OneObjectFloor(f);
    else
        SeveralObjectsFloor(f);
}

bool SkipUnlessReady(benchmark::State& state, const CRefreshFixture& f)
{
    if (!f.ready)
        state.SkipWithError("the plug-in could not be set up from its built folder");
    return !f.ready;
}

void Refresh(benchmark::State& state, int selected)
{
    CRefreshFixture& f = Fixture();
    if (SkipUnlessReady(state, f))
        return;
    f.Select(selected);
    for (auto _ : state)
        ChangeTime(f);
    Goals(state, kGoalRatio, selected == 1 ? kOneObjectGoalMs : 0);
}

/// The floor's refresh runs inside the floor scene's CurrentTimeChanged, the signal every
/// plug-in receives, as the plug-in's does inside the scene's.
class CFloorListener
{
public:
    CFloorListener(CRefreshFixture& f, int selected)
        : m_connection(QObject::connect(f.floorScene.EventSender(),
                                        &KV::CEventSender::CurrentTimeChanged, &f.floorWindow,
                                        [&f, selected] { RefreshFloor(f, selected); }))
    {}
    ~CFloorListener() { QObject::disconnect(m_connection); }

private:
    QMetaObject::Connection m_connection;
};

void ChangeFloorTime(CRefreshFixture& f)
{
    f.floorScene.SetCurrentTime(++f.time);
    QCoreApplication::sendPostedEvents();
}

void RefreshFloorBench(benchmark::State& state, int selected)
{
    CRefreshFixture& f = Fixture();
    f.Select(selected);
    const CFloorListener listener(f, selected);
    for (auto _ : state)
        ChangeFloorTime(f);
    Goals(state, 0, 0);
}

void Scrub(benchmark::State& state)
{
    CRefreshFixture& f = Fixture();
    if (SkipUnlessReady(state, f))
        return;
    f.Select(1);
    for (auto _ : state) {
        for (int i = 0; i < kScrubEvents; ++i)
            ChangeTime(f);
    }
    Goals(state, kGoalRatio, 0);
}

void ScrubFloor(benchmark::State& state)
{
    CRefreshFixture& f = Fixture();
    f.Select(1);
    const CFloorListener listener(f, 1);
    for (auto _ : state) {
        for (int i = 0; i < kScrubEvents; ++i)
            ChangeFloorTime(f);
    }
    Goals(state, 0, 0);
}

bool RegisterRefreshBenchmarks()
{
    for (int selected : {1, 100, kObjects}) {
        const std::string name = "Refresh/selected_" + std::to_string(selected);
        benchmark::RegisterBenchmark(name.c_str(), Refresh, selected)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((name + "/floor").c_str(), RefreshFloorBench, selected)
            ->Unit(benchmark::kMicrosecond);
    }
    const std::string scrub = "Scrub/" + std::to_string(kScrubEvents) + "_events";
    benchmark::RegisterBenchmark(scrub.c_str(), Scrub)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((scrub + "/floor").c_str(), ScrubFloor)
        ->Unit(benchmark::kMillisecond);
    return true;
}

const bool kRefreshBenchmarksRegistered = RegisterRefreshBenchmarks();

} // namespace
