#include "DialogFixture.h"
#include "HeapCounter.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QHeaderView>
#include <QTreeWidget>

#include <memory>
#include <string>

// The heap the link-to-sub-node dialog needs per listed node at its largest sizes: the peak
// above what the process held before a new dialog was opened on 100,000 nodes, against a new
// bare tree widget holding the same items, built from the same questions to the host, so each
// item has a name of its own as the dialog's items have. The figure is the counter
// bytes_per_node; the times of these runs mean nothing.

namespace {

constexpr double kHeapGoalRatio = 1.3;

void Report(benchmark::State& state, long long start, int nodes, double goalRatio)
{
    state.counters["bytes_per_node"] =
        static_cast<double>(HeapCounter::Peak() - start) / static_cast<double>(nodes);
    state.counters["goal_ratio"] = goalRatio;
    state.counters["goal_ms"] = 0;
}

void DialogHeap(benchmark::State& state, const CDialogShape* shape)
{
    CDialogFixture& f = DialogFixtureFor(*shape);
    if (!f.ready) {
        state.SkipWithError("the dialog's layout could not be built");
        return;
    }
    long long start = 0;
    for (auto _ : state) {
        f.MakeDialog();
        start = HeapCounter::Current();
        HeapCounter::ResetPeak();
        f.OpenDialog();
        Report(state, start, static_cast<int>(f.snapshot.texts.size()), kHeapGoalRatio);
        f.CloseDialog();
    }
    f.MakeDialog(); // lets the listing go before the floor's turn
}

void FloorHeap(benchmark::State& state, const CDialogShape* shape)
{
    CDialogFixture& f = DialogFixtureFor(*shape);
    for (auto _ : state) {
        // A new window, as the dialog's figure makes a new dialog: a reused view keeps the
        // capacity its layout grew last time and would leave it out of the count.
        f.MakeFloor();
        const long long start = HeapCounter::Current();
        HeapCounter::ResetPeak();
        f.OpenFloor();
        Report(state, start, static_cast<int>(f.snapshot.texts.size()), 0);
        f.CloseFloor();
    }
    f.MakeFloor(); // lets the items go before the next figure
}

bool RegisterHeapBenchmarks()
{
    for (const CDialogShape& shape : DialogShapes()) {
        if (shape.nodeCount != 100000 || shape.shownOnly)
            continue;
        const std::string name = "SubNodeDlg/Heap/" + shape.name;
        benchmark::RegisterBenchmark(name.c_str(), DialogHeap, &shape)->Iterations(1);
        benchmark::RegisterBenchmark((name + "/floor").c_str(), FloorHeap, &shape)->Iterations(1);
    }
    return true;
}

const bool kHeapBenchmarksRegistered = RegisterHeapBenchmarks();

} // namespace
