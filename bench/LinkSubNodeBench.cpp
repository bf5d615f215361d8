#include "DialogFixture.h"
#include "TreeFloor.h"

#include <benchmark/benchmark.h>

#include <QTreeWidget>

#include <string>

// What an animator waits for in the link-to-sub-node dialog, on rigs and imported models of
// 1,000 to 100,000 nodes, each figure against its floor on the same structure: opening it, a
// keystroke in its search field, and switching its view. Nothing is selected in the scene, so
// the preview that a search's first hit runs stops after recording the node, as it does in a
// host without a selection; the listing asks the host all its questions.

namespace {

constexpr double kOpenGoalRatio = 1.5;
constexpr double kOpenGoalMsAt10k = 100;
constexpr double kSearchGoalRatio = 2.0;
constexpr double kSearchGoalMsAt10k = 16;
constexpr double kViewGoalRatio = 1.5;

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

double At10k(const CDialogShape& shape, double goal)
{
    return shape.nodeCount == 10000 ? goal : 0;
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
    SetGoals(state, kOpenGoalRatio, At10k(*shape, kOpenGoalMsAt10k));
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

void Search(benchmark::State& state, const CDialogShape* shape, const CKeystroke* key)
{
    CDialogFixture& f = DialogFixtureFor(*shape);
    if (SkipUnlessReady(state, f))
        return;
    f.dialog->BuildTree(f.root, false);
    for (auto _ : state) {
        state.PauseTiming();
        f.dialog->OnSearchTextChanged(key->before);
        state.ResumeTiming();
        f.dialog->OnSearchTextChanged(key->after);
    }
    SetGoals(state, kSearchGoalRatio, At10k(*shape, kSearchGoalMsAt10k));
}

void SearchFloor(benchmark::State& state, const CDialogShape* shape, const CKeystroke* key)
{
    CDialogFixture& f = DialogFixtureFor(*shape);
    TimeFloorKeystroke(state, f.floorTree, f.snapshot, key->before, key->after);
    SetGoals(state, 0, 0);
}

/// From the other view to this one, with the parent's item selected, as the user left it.
void SwitchView(benchmark::State& state, const CDialogShape* shape, bool toList)
{
    CDialogFixture& f = DialogFixtureFor(*shape);
    if (SkipUnlessReady(state, f))
        return;
    f.dialog->BuildTree(f.root, false);
    for (auto _ : state) {
        state.PauseTiming();
        if (toList)
            f.dialog->OnHierarchyView();
        else
            f.dialog->OnListView();
        f.dialog->SelectNode(f.parent);
        state.ResumeTiming();
        if (toList)
            f.dialog->OnListView();
        else
            f.dialog->OnHierarchyView();
    }
    f.dialog->OnHierarchyView();
    SetGoals(state, kViewGoalRatio, 0);
}

void SwitchViewFloor(benchmark::State& state, const CDialogShape* shape, bool toList)
{
    CDialogFixture& f = DialogFixtureFor(*shape);
    // The bare tree starts from the other view too: a switch replaces all of its items.
    for (auto _ : state) {
        state.PauseTiming();
        if (toList)
            BuildFloorTree(f.floorTree, f.snapshot);
        else
            BuildFloorList(f.floorTree, f.snapshot);
        state.ResumeTiming();
        if (toList)
            BuildFloorList(f.floorTree, f.snapshot);
        else
            BuildFloorTree(f.floorTree, f.snapshot);
        f.SelectFloorParent(toList);
    }
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
        const std::string prefix = "SubNodeDlg/";
        RegisterWithFloor(prefix + "Open/" + shape.name, Open, OpenFloor, &shape);
        for (const CKeystroke& key : kKeystrokes)
            RegisterWithFloor(prefix + "Search/" + shape.name + "/" + key.name, Search, SearchFloor,
                              &shape, &key);
        RegisterWithFloor(prefix + "View/" + shape.name + "/list", SwitchView, SwitchViewFloor,
                          &shape, true);
        RegisterWithFloor(prefix + "View/" + shape.name + "/hierarchy", SwitchView, SwitchViewFloor,
                          &shape, false);
    }
    return true;
}

const bool kDialogBenchmarksRegistered = RegisterDialogBenchmarks();

} // namespace
