#include "DialogFixture.h"
#include "TreeFloor.h"

#include <benchmark/benchmark.h>

#include <QTreeWidget>

#include <algorithm>
#include <string>

// What an animator waits for in the link-to-sub-node dialog, on rigs and imported models of
// 1,000 to 100,000 nodes, each figure against its floor on the same structure: opening it, a
// keystroke in its search field, switching its view, Expand and Collapse. Figures named Shown/
// keep the dialog shown and end once it is laid out and painted; the others leave it hidden.
// A 300,000-node rig and deep chains are measured shown only. Nothing is selected in the
// scene, so the preview that a search's first hit runs stops after recording the node, as it
// does in a host without a selection; the listing asks the host all its questions.

namespace {

constexpr double kGoalRatio = 1.3;
constexpr double kSearchGoalRatio = 1.5;
constexpr double kOpenGoalMsAt100k = 200;
constexpr double kDeepOpenGoalMs = 1000;
constexpr double kSearchGoalMsAt10k = 16;
constexpr double kSearchGoalMsAt100k = 50;
constexpr double kViewGoalMsAt10k = 50;

/// The search text before and after one keystroke.
struct CKeystroke
{
    const char* name;
    QString before;
    QString after;
};

// "_1" is in about one name in nine, "_777" in about one in a thousand.
const CKeystroke kKeystrokes[] = {
    {"common", QStringLiteral("_"), QStringLiteral("_1")},
    {"rare", QStringLiteral("_77"), QStringLiteral("_777")},
    {"emptied", QStringLiteral("_"), QString()},
};

bool SkipUnlessReady(benchmark::State& state, const CDialogFixture& f)
{
    if (!f.ready)
        state.SkipWithError("the dialog's layout could not be built");
    return !f.ready;
}

void SetGoals(benchmark::State& state, double ratio, double ms)
{
    state.counters["goal_ratio"] = ratio;
    state.counters["goal_ms"] = ms;
}

/// `goal` for a painted figure of the shape with `nodes` nodes, none otherwise.
double PaintedGoal(const CDialogShape& shape, bool painted, int nodes, double goal)
{
    return painted && !shape.shownOnly && shape.nodeCount == nodes ? goal : 0;
}

/// Ends a painted figure's event: the dialog, or the bare tree, laid out and painted.
void Paint(CDialogFixture& f, bool painted, bool floor)
{
    if (painted)
        PaintNow(floor ? *f.floorTree : *f.dialog->GetTreeWidget());
}

void Open(benchmark::State& state, const CDialogShape* shape)
{
    CDialogFixture& f = DialogFixtureFor(*shape);
    if (SkipUnlessReady(state, f))
        return;
    for (auto _ : state) {
        f.OpenDialog();
        state.PauseTiming();
        f.CloseDialog();
        state.ResumeTiming();
    }
    const bool deep = shape->name.rfind("chain", 0) == 0;
    SetGoals(state, kGoalRatio,
             deep ? kDeepOpenGoalMs : PaintedGoal(*shape, true, 100000, kOpenGoalMsAt100k));
}

void OpenFloor(benchmark::State& state, const CDialogShape* shape)
{
    CDialogFixture& f = DialogFixtureFor(*shape);
    for (auto _ : state) {
        f.OpenFloor();
        state.PauseTiming();
        f.CloseFloor();
        state.ResumeTiming();
    }
    SetGoals(state, 0, 0);
}

void Search(benchmark::State& state, const CDialogShape* shape, const CKeystroke* key, bool painted)
{
    CDialogFixture& f = DialogFixtureFor(*shape);
    if (SkipUnlessReady(state, f))
        return;
    f.dialog->BuildTree(f.root, false);
    if (painted)
        f.ShowDialog();
    for (auto _ : state) {
        state.PauseTiming();
        f.dialog->OnSearchTextChanged(key->before);
        Paint(f, painted, false);
        state.ResumeTiming();
        f.dialog->OnSearchTextChanged(key->after);
        Paint(f, painted, false);
    }
    f.CloseDialog();
    SetGoals(state, kSearchGoalRatio,
             std::max(PaintedGoal(*shape, painted, 10000, kSearchGoalMsAt10k),
                      PaintedGoal(*shape, painted, 100000, kSearchGoalMsAt100k)));
}

void SearchFloor(benchmark::State& state, const CDialogShape* shape, const CKeystroke* key,
                 bool painted)
{
    CDialogFixture& f = DialogFixtureFor(*shape);
    TimeFloorKeystroke(state, *f.floorTree, f.snapshot, key->before, key->after, painted,
                       f.scene.GetSceneManager());
    SetGoals(state, 0, 0);
}

/// From the other view to this one, with the parent's item selected, as the user left it.
void SwitchView(benchmark::State& state, const CDialogShape* shape, bool toList, bool painted)
{
    CDialogFixture& f = DialogFixtureFor(*shape);
    if (SkipUnlessReady(state, f))
        return;
    f.dialog->BuildTree(f.root, false);
    if (painted)
        f.ShowDialog();
    for (auto _ : state) {
        state.PauseTiming();
        if (toList)
            f.dialog->OnHierarchyView();
        else
            f.dialog->OnListView();
        f.dialog->SelectNode(f.parent);
        Paint(f, painted, false);
        state.ResumeTiming();
        if (toList)
            f.dialog->OnListView();
        else
            f.dialog->OnHierarchyView();
        Paint(f, painted, false);
    }
    f.dialog->OnHierarchyView();
    f.CloseDialog();
    SetGoals(state, kGoalRatio, PaintedGoal(*shape, painted, 10000, kViewGoalMsAt10k));
}

void SwitchViewFloor(benchmark::State& state, const CDialogShape* shape, bool toList, bool painted)
{
    CDialogFixture& f = DialogFixtureFor(*shape);
    if (painted)
        f.ShowFloor();
    // The bare tree starts from the other view too: a switch replaces all of its items.
    for (auto _ : state) {
        state.PauseTiming();
        if (toList)
            BuildFloorTree(*f.floorTree, f.snapshot);
        else
            BuildFloorList(*f.floorTree, f.snapshot);
        f.SelectFloorParent(!toList);
        Paint(f, painted, true);
        state.ResumeTiming();
        if (toList)
            BuildFloorList(*f.floorTree, f.snapshot, f.ListingHost());
        else
            BuildFloorTree(*f.floorTree, f.snapshot, f.ListingHost());
        f.SelectFloorParent(toList);
        Paint(f, painted, true);
    }
    f.CloseFloor();
    SetGoals(state, 0, 0);
}

/// The view menu's Expand (or Collapse) from the other state, painted.
void ExpandOrCollapse(benchmark::State& state, const CDialogShape* shape, bool expand)
{
    CDialogFixture& f = DialogFixtureFor(*shape);
    if (SkipUnlessReady(state, f))
        return;
    f.dialog->BuildTree(f.root, false);
    f.ShowDialog();
    for (auto _ : state) {
        state.PauseTiming();
        if (expand)
            f.dialog->OnCollapseAll();
        else
            f.dialog->OnExpandAll();
        Paint(f, true, false);
        state.ResumeTiming();
        if (expand)
            f.dialog->OnExpandAll();
        else
            f.dialog->OnCollapseAll();
        Paint(f, true, false);
    }
    f.dialog->OnExpandAll();
    f.CloseDialog();
    SetGoals(state, kGoalRatio, 0);
}

void ExpandOrCollapseFloor(benchmark::State& state, const CDialogShape* shape, bool expand)
{
    CDialogFixture& f = DialogFixtureFor(*shape);
    BuildFloorTree(*f.floorTree, f.snapshot);
    f.ShowFloor();
    for (auto _ : state) {
        state.PauseTiming();
        if (expand)
            f.floorTree->collapseAll();
        else
            ExpandFloor(*f.floorTree);
        Paint(f, true, true);
        state.ResumeTiming();
        if (expand)
            ExpandFloor(*f.floorTree);
        else
            f.floorTree->collapseAll();
        Paint(f, true, true);
    }
    f.CloseFloor();
    SetGoals(state, 0, 0);
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
    for (const CDialogShape& shape : DialogShapes()) {
        const std::string& name = shape.name;
        // Opening always ends painted.
        RegisterWithFloor("Shown/SubNodeDlg/Open/" + name, Open, OpenFloor, &shape);
        for (const bool painted : {false, true}) {
            if (!painted && shape.shownOnly)
                continue;
            const std::string prefix = painted ? "Shown/SubNodeDlg/" : "SubNodeDlg/";
            for (const CKeystroke& key : kKeystrokes) {
                if (shape.shownOnly && &key != &kKeystrokes[0])
                    continue;
                RegisterWithFloor(prefix + "Search/" + name + "/" + key.name, Search, SearchFloor,
                                  &shape, &key, painted);
            }
            RegisterWithFloor(prefix + "View/" + name + "/list", SwitchView, SwitchViewFloor,
                              &shape, true, painted);
            RegisterWithFloor(prefix + "View/" + name + "/hierarchy", SwitchView, SwitchViewFloor,
                              &shape, false, painted);
        }
        RegisterWithFloor("Shown/SubNodeDlg/Expand/" + name, ExpandOrCollapse,
                          ExpandOrCollapseFloor, &shape, true);
        RegisterWithFloor("Shown/SubNodeDlg/Collapse/" + name, ExpandOrCollapse,
                          ExpandOrCollapseFloor, &shape, false);
    }
    return true;
}

const bool kDialogBenchmarksRegistered = RegisterDialogBenchmarks();

} // namespace
