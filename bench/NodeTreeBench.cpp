#include "BenchTreeTool.h"
#include "SceneShapes.h"
#include "TreeFloor.h"

#include "KVSceneModel.h"

#include <benchmark/benchmark.h>

#include <QHeaderView>

#include <functional>
#include <memory>

// The node tree tool's rebuild and search keystroke on the shapes an animator meets, each
// paired with its floor on the same shape. Times are CPU times of this process: the machines
// that run them are shared, and the work is single-threaded.

namespace {

struct CShapeDesc
{
    const char* name;
    std::function<UB::CHandle*(KV::CSceneModel&)> make;
    double buildGoalRatio; // 0: reported without a goal
    double searchGoalMs;   // 0: no absolute goal
};

const double kSearchGoalRatio = 2.0;

const CShapeDesc kShapes[] = {
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

struct CKeystroke
{
    const char* name;
    QString before; // the search text the keystroke starts from
    QString after;
};

const CKeystroke kNarrowing{"narrow", QStringLiteral("_1"), QStringLiteral("_12")};
const CKeystroke kFirstKey{"all", QString(), QStringLiteral("_")};

/// The scene and both trees of one shape. Only one shape is kept at a time.
class CShapeFixture
{
public:
    explicit CShapeFixture(const CShapeDesc& desc)
    {
        scene.SetJournalEnabled(false);
        root = desc.make(scene);
        tool.InitTreeTool(&scene);
        floorTree.header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        floorTree.header()->setStretchLastSection(false);
        snapshot = TakeSnapshot(scene, root);
    }

    KV::CSceneModel scene;
    UB::CHandle* root = nullptr;
    CBenchTreeTool tool;
    QTreeWidget floorTree;
    CTreeSnapshot snapshot;
};

CShapeFixture& Fixture(const CShapeDesc& desc)
{
    static std::unique_ptr<CShapeFixture> current;
    static const CShapeDesc* currentShape = nullptr;
    if (currentShape != &desc) {
        current.reset();
        current = std::make_unique<CShapeFixture>(desc);
        currentShape = &desc;
    }
    return *current;
}

/// What a node-picking dialog does on each change of its search text.
void Keystroke(CBenchTreeTool& tool, const QString& text)
{
    QList<QTreeWidgetItem*> found;
    tool.ApplySearch(found, text);
    tool.m_enterPending = true;
}

void SetGoals(benchmark::State& state, double ratio, double ms)
{
    state.counters["goal_ratio"] = ratio;
    state.counters["goal_ms"] = ms;
}

void BuildTree(benchmark::State& state, const CShapeDesc* desc)
{
    CShapeFixture& f = Fixture(*desc);
    for (auto _ : state)
        f.tool.BuildTree(f.root, false);
    SetGoals(state, desc->buildGoalRatio, 0);
}

void BuildFloor(benchmark::State& state, const CShapeDesc* desc)
{
    CShapeFixture& f = Fixture(*desc);
    for (auto _ : state)
        BuildFloorTree(f.floorTree, f.snapshot);
    SetGoals(state, 0, 0);
}

void Search(benchmark::State& state, const CShapeDesc* desc, const CKeystroke* key)
{
    CShapeFixture& f = Fixture(*desc);
    f.tool.BuildTree(f.root, false);
    for (auto _ : state) {
        state.PauseTiming();
        Keystroke(f.tool, key->before);
        state.ResumeTiming();
        Keystroke(f.tool, key->after);
    }
    SetGoals(state, kSearchGoalRatio, desc->searchGoalMs);
}

void SearchFloor(benchmark::State& state, const CShapeDesc* desc, const CKeystroke* key)
{
    CShapeFixture& f = Fixture(*desc);
    TimeFloorKeystroke(state, f.floorTree, f.snapshot, key->before, key->after);
    SetGoals(state, 0, 0);
}

bool RegisterAll()
{
    for (const CShapeDesc& desc : kShapes) {
        const std::string shape = desc.name;
        benchmark::RegisterBenchmark(("NodeTree/Build/" + shape).c_str(), BuildTree, &desc)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("NodeTree/Build/" + shape + "/floor").c_str(), BuildFloor,
                                     &desc)
            ->Unit(benchmark::kMillisecond);
        std::vector<const CKeystroke*> keys{&kNarrowing};
        if (desc.searchGoalMs > 0)
            keys.push_back(&kFirstKey);
        for (const CKeystroke* key : keys) {
            const std::string name = "NodeTree/Search/" + shape + "/" + key->name;
            benchmark::RegisterBenchmark(name.c_str(), Search, &desc, key)
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark((name + "/floor").c_str(), SearchFloor, &desc, key)
                ->Unit(benchmark::kMillisecond);
        }
    }
    return true;
}

const bool kRegistered = RegisterAll();

} // namespace
