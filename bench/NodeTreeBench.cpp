#include "BenchTreeTool.h"
#include "SceneShapes.h"
#include "TreeFloor.h"

#include "KVSceneModel.h"

#include <benchmark/benchmark.h>

#include <QHeaderView>
#include <QSignalBlocker>

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
    double buildGoalMs;       // 0: no absolute goal for the rebuild (hidden or painted)
    double shownBuildGoalMs;  // 0: none for the painted rebuild, which is also an opening
    double shownSearchGoalMs; // 0: none for the painted keystroke
};

constexpr double kBuildGoalRatio = 1.3;
constexpr double kSearchGoalRatio = 1.5;

const CShapeDesc kShapes[] = {
    {"balanced_1000", [](KV::CSceneModel& s) { return AddBalancedTree(s, 1000, 10, "node"); }, 0, 0,
     0},
    {"balanced_10000", [](KV::CSceneModel& s) { return AddBalancedTree(s, 10000, 10, "node"); }, 0,
     0, 16},
    {"balanced_100000", [](KV::CSceneModel& s) { return AddBalancedTree(s, 100000, 10, "node"); },
     150, 0, 50},
    {"balanced_300000", [](KV::CSceneModel& s) { return AddBalancedTree(s, 300000, 10, "node"); },
     0, 0, 0},
    {"rig", [](KV::CSceneModel& s) { return AddRig(s, 40, 30, "bone"); }, 0, 0, 0},
    {"flat_100000", [](KV::CSceneModel& s) { return AddFlatList(s, 100000, "mesh"); }, 0, 0, 50},
    {"chain_10000", [](KV::CSceneModel& s) { return AddChain(s, 10000, "link"); }, 0, 0, 16},
    {"chain_50000", [](KV::CSceneModel& s) { return AddChain(s, 50000, "link"); }, 0, 1000, 0},
    {"chain_100000", [](KV::CSceneModel& s) { return AddChain(s, 100000, "link"); }, 0, 1000, 0},
};

struct CKeystroke
{
    const char* name;
    QString before; // the search text the keystroke starts from
    QString after;
};

const CKeystroke kNarrowing{"narrow", QStringLiteral("_1"), QStringLiteral("_12")};
const CKeystroke kFirstKey{"all", QString(), QStringLiteral("_")};

/// The painted figures show the tree at a dialog's size.
void ShowTree(QTreeWidget& tree)
{
    tree.resize(300, 400);
    tree.show();
    PaintNow(tree);
}

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
    ~CShapeFixture() { ClearFloor(floorTree); }

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

/// What a node-picking dialog does on each change of its search text, its tree's signals
/// blocked as the link-to-sub-node dialog blocks them.
void Keystroke(CBenchTreeTool& tool, const QString& text)
{
    const QSignalBlocker blocker(tool.m_tree);
    tool.ApplySearch(text);
    tool.m_enterPending = true;
}

void SetGoals(benchmark::State& state, double ratio, double ms)
{
    state.counters["goal_ratio"] = ratio;
    state.counters["goal_ms"] = ms;
}

void BuildTree(benchmark::State& state, const CShapeDesc* desc, bool painted)
{
    CShapeFixture& f = Fixture(*desc);
    if (painted)
        ShowTree(f.tool.m_tree);
    for (auto _ : state) {
        f.tool.BuildTree(f.root, false);
        if (painted)
            PaintNow(f.tool.m_tree);
    }
    f.tool.m_tree.hide();
    SetGoals(state, kBuildGoalRatio, painted ? desc->shownBuildGoalMs : desc->buildGoalMs);
}

void BuildFloor(benchmark::State& state, const CShapeDesc* desc, bool painted)
{
    CShapeFixture& f = Fixture(*desc);
    if (painted)
        ShowTree(f.floorTree);
    for (auto _ : state) {
        BuildFloorTree(f.floorTree, f.snapshot,
                       {f.scene.GetSceneManager(), EHostQuestions::NodeTree});
        if (painted)
            PaintNow(f.floorTree);
    }
    f.floorTree.hide();
    SetGoals(state, 0, 0);
}

void Search(benchmark::State& state, const CShapeDesc* desc, const CKeystroke* key, bool painted)
{
    CShapeFixture& f = Fixture(*desc);
    f.tool.BuildTree(f.root, false);
    if (painted)
        ShowTree(f.tool.m_tree);
    for (auto _ : state) {
        state.PauseTiming();
        Keystroke(f.tool, key->before);
        if (painted)
            PaintNow(f.tool.m_tree);
        state.ResumeTiming();
        Keystroke(f.tool, key->after);
        if (painted)
            PaintNow(f.tool.m_tree);
    }
    f.tool.m_tree.hide();
    SetGoals(state, kSearchGoalRatio, painted ? desc->shownSearchGoalMs : 0);
}

void SearchFloor(benchmark::State& state, const CShapeDesc* desc, const CKeystroke* key,
                 bool painted)
{
    CShapeFixture& f = Fixture(*desc);
    if (painted)
        f.floorTree.resize(300, 400);
    TimeFloorKeystroke(state, f.floorTree, f.snapshot, key->before, key->after, painted);
    SetGoals(state, 0, 0);
}

bool RegisterAll()
{
    for (const CShapeDesc& desc : kShapes) {
        for (const bool painted : {false, true}) {
            const std::string prefix = painted ? "Shown/NodeTree/" : "NodeTree/";
            const std::string shape = desc.name;
            benchmark::RegisterBenchmark((prefix + "Build/" + shape).c_str(), BuildTree, &desc,
                                         painted)
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark((prefix + "Build/" + shape + "/floor").c_str(), BuildFloor,
                                         &desc, painted)
                ->Unit(benchmark::kMillisecond);
            std::vector<const CKeystroke*> keys{&kNarrowing};
            if (desc.shownSearchGoalMs > 0)
                keys.push_back(&kFirstKey);
            for (const CKeystroke* key : keys) {
                const std::string name = prefix + "Search/" + shape + "/" + key->name;
                benchmark::RegisterBenchmark(name.c_str(), Search, &desc, key, painted)
                    ->Unit(benchmark::kMillisecond);
                benchmark::RegisterBenchmark((name + "/floor").c_str(), SearchFloor, &desc, key,
                                             painted)
                    ->Unit(benchmark::kMillisecond);
            }
        }
    }
    return true;
}

const bool kRegistered = RegisterAll();

} // namespace
