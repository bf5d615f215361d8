#include "SceneShapes.h"
#include "TreeFloor.h"

#include "KVSceneModel.h"
#include "nodetree/CLinkSubNodeDlg.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QHeaderView>
#include <QResource>
#include <QTreeWidget>

#include <functional>
#include <memory>
#include <string>

// The link-to-sub-node dialog's listing (its rebuild through the sub-node rule) and its search
// keystroke, on the node tree's shapes and against the same floors. Nothing is selected in the
// scene, so the preview that a search's first hit runs stops after recording the node, as it
// does in a host without a selection; the listing asks the host all its questions.

namespace {

struct CDialogShape
{
    const char* name;
    std::function<UB::CHandle*(KV::CSceneModel&)> make;
    double buildGoalRatio; // 0: reported without a goal
    double searchGoalMs;   // 0: no absolute goal
};

const CDialogShape kDialogShapes[] = {
    {"balanced_1000", [](KV::CSceneModel& s) { return AddBalancedTree(s, 1000, 10, "node"); }, 0,
     0},
    {"balanced_10000", [](KV::CSceneModel& s) { return AddBalancedTree(s, 10000, 10, "node"); },
     1.5, 16},
    {"balanced_100000", [](KV::CSceneModel& s) { return AddBalancedTree(s, 100000, 10, "node"); },
     1.5, 0},
    {"rig", [](KV::CSceneModel& s) { return AddRig(s, 40, 30, "bone"); }, 0, 0},
    {"flat_100000", [](KV::CSceneModel& s) { return AddFlatList(s, 100000, "mesh"); }, 1.5, 0},
    {"chain_10000", [](KV::CSceneModel& s) { return AddChain(s, 10000, "link"); }, 1.5, 16},
};

const double kSearchGoal = 2.0;

/// The search text before and after one keystroke.
struct CTyping
{
    const char* name;
    QString before;
    QString after;
};

const CTyping kNarrowing{"narrow", QStringLiteral("_1"), QStringLiteral("_12")};
const CTyping kFirstLetter{"all", QString(), QStringLiteral("_")};

/// The dialog needs its layout from the plug-in's resource file.
bool RegisterLayouts()
{
    static const bool registered = QResource::registerResource(QStringLiteral(KV_RESOURCE_FILE));
    return registered;
}

/// A scene of one shape, the dialog set up on it, and the floor's bare tree.
class CDialogFixture
{
public:
    explicit CDialogFixture(const CDialogShape& shape)
    {
        scene.SetJournalEnabled(false);
        root = shape.make(scene);
        ready = RegisterLayouts() && dialog.Initialize(QString(), &scene) == UB::kOk;
        floorTree.header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        floorTree.header()->setStretchLastSection(false);
        snapshot = TakeSnapshot(scene, root);
    }

    KV::CSceneModel scene;
    UB::CHandle* root = nullptr;
    KV::CLinkSubNodeDlg dialog{nullptr};
    bool ready = false;
    QTreeWidget floorTree;
    CTreeSnapshot snapshot;
};

std::unique_ptr<CDialogFixture> currentFixture;
const CDialogShape* currentShape = nullptr;

/// The dialog is a widget: it has to go while the application still exists.
void ReleaseFixture()
{
    currentFixture.reset();
    currentShape = nullptr;
}

CDialogFixture& FixtureFor(const CDialogShape& shape)
{
    if (currentShape != &shape) {
        if (currentShape == nullptr)
            qAddPostRoutine(&ReleaseFixture);
        currentFixture.reset();
        currentFixture = std::make_unique<CDialogFixture>(shape);
        currentShape = &shape;
    }
    return *currentFixture;
}

bool SkipUnlessReady(benchmark::State& state, const CDialogFixture& f)
{
    if (!f.ready)
        state.SkipWithError("the dialog's layout could not be built");
    return !f.ready;
}

void Goals(benchmark::State& state, double ratio, double ms)
{
    state.counters["goal_ratio"] = ratio;
    state.counters["goal_ms"] = ms;
}

void DialogBuild(benchmark::State& state, const CDialogShape* shape)
{
    CDialogFixture& f = FixtureFor(*shape);
    if (SkipUnlessReady(state, f))
        return;
    for (auto _ : state)
        f.dialog.BuildTree(f.root, false);
    Goals(state, shape->buildGoalRatio, 0);
}

void DialogBuildFloor(benchmark::State& state, const CDialogShape* shape)
{
    CDialogFixture& f = FixtureFor(*shape);
    for (auto _ : state)
        BuildFloorTree(f.floorTree, f.snapshot);
    Goals(state, 0, 0);
}

void DialogSearch(benchmark::State& state, const CDialogShape* shape, const CTyping* typing)
{
    CDialogFixture& f = FixtureFor(*shape);
    if (SkipUnlessReady(state, f))
        return;
    f.dialog.BuildTree(f.root, false);
    for (auto _ : state) {
        state.PauseTiming();
        f.dialog.OnSearchTextChanged(typing->before);
        state.ResumeTiming();
        f.dialog.OnSearchTextChanged(typing->after);
    }
    Goals(state, kSearchGoal, shape->searchGoalMs);
}

void DialogSearchFloor(benchmark::State& state, const CDialogShape* shape, const CTyping* typing)
{
    CDialogFixture& f = FixtureFor(*shape);
    BuildFloorTree(f.floorTree, f.snapshot);
    for (auto _ : state) {
        state.PauseTiming();
        SearchFloorTree(f.floorTree, typing->before);
        state.ResumeTiming();
        SearchFloorTree(f.floorTree, typing->after);
    }
    Goals(state, 0, 0);
}

/// Registers `measured` as `name` and `floor` as its floor, "`name`/floor", in milliseconds.
template<typename... Args>
void RegisterWithFloor(const std::string& name, void (*measured)(benchmark::State&, Args...),
                       void (*floor)(benchmark::State&, Args...), Args... args)
{
    benchmark::RegisterBenchmark(name.c_str(), measured, args...)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((name + "/floor").c_str(), floor, args...)
        ->Unit(benchmark::kMillisecond);
}

bool RegisterDialogBenchmarks()
{
    for (const CDialogShape& shape : kDialogShapes) {
        RegisterWithFloor(std::string("SubNodeDlg/Build/") + shape.name, DialogBuild,
                          DialogBuildFloor, &shape);
        for (const CTyping* typing : {&kNarrowing, &kFirstLetter}) {
            // Every first letter is timed where a search has an absolute goal.
            if (typing == &kFirstLetter && shape.searchGoalMs <= 0)
                continue;
            RegisterWithFloor(std::string("SubNodeDlg/Search/") + shape.name + "/" + typing->name,
                              DialogSearch, DialogSearchFloor, &shape, typing);
        }
    }
    return true;
}

const bool kDialogBenchmarksRegistered = RegisterDialogBenchmarks();

} // namespace
