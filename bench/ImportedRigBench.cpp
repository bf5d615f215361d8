#include "CAssimpImporter.h"
#include "DialogFixture.h"
#include "TreeFloor.h"

#include <benchmark/benchmark.h>

#include <QTreeWidget>

#include <string>
#include <tuple>

// The link-to-sub-node dialog on the largest rig of Debian's assimp-testmodels, imported as
// the sandbox imports it: a DirectX character of 57 nodes, 54 of them joints. Opening it and
// a keystroke that finds the hands, each against its floor on the same structure.

namespace {

const char* const kRigFile = "/usr/share/assimp/models/X/BCN_Epileptic.X";

const CDialogShape& ImportedRig()
{
    static const CDialogShape shape{
        "imported_BCN_Epileptic",
        [](KV::CSceneModel& scene) -> UB::CHandle* {
            QVector<KV::CNewNode> nodes;
            QString error;
            if (!KV::CAssimpImporter::Import(QString::fromUtf8(kRigFile), nodes, error)) {
                // The figures then say nothing; the warning says why.
                qWarning("%s", qPrintable(error));
                nodes.resize(1);
                nodes[0].desc.name = QStringLiteral("no rig");
            }
            return scene.AddNodesAsStep(nodes, QStringLiteral("Import")).value(0);
        },
        58};
    return shape;
}

bool SkipUnlessReady(benchmark::State& state, const CDialogFixture& f)
{
    if (!f.ready)
        state.SkipWithError("the dialog's layout could not be built");
    return !f.ready;
}

/// Times `open` and leaves `close` untimed; a floor (goal_ratio 0) has no goal of its own.
template<typename Open, typename Close>
void TimeOpening(benchmark::State& state, Open open, Close close, double goalRatio)
{
    for (auto _ : state) {
        open();
        state.PauseTiming();
        close();
        state.ResumeTiming();
    }
    state.counters["goal_ratio"] = goalRatio;
    state.counters["goal_ms"] = 0;
}

void Open(benchmark::State& state)
{
    CDialogFixture& f = DialogFixtureFor(ImportedRig());
    if (!SkipUnlessReady(state, f))
        TimeOpening(
            state, [&] { f.OpenDialog(); }, [&] { f.CloseDialog(); }, 1.3);
}

void OpenFloor(benchmark::State& state)
{
    CDialogFixture& f = DialogFixtureFor(ImportedRig());
    TimeOpening(
        state, [&] { f.OpenFloor(); }, [&] { f.CloseFloor(); }, 0);
}

// "han" to "hand": the keystroke that leaves the two hands.
void Search(benchmark::State& state)
{
    CDialogFixture& f = DialogFixtureFor(ImportedRig());
    if (SkipUnlessReady(state, f))
        return;
    f.dialog->BuildTree(f.root, false);
    for (auto _ : state) {
        state.PauseTiming();
        f.dialog->OnSearchTextChanged(QStringLiteral("han"));
        state.ResumeTiming();
        f.dialog->OnSearchTextChanged(QStringLiteral("hand"));
    }
    state.counters["goal_ratio"] = 1.5;
    state.counters["goal_ms"] = 0;
}

void SearchFloor(benchmark::State& state)
{
    CDialogFixture& f = DialogFixtureFor(ImportedRig());
    TimeFloorKeystroke(state, *f.floorTree, f.snapshot, QStringLiteral("han"),
                       QStringLiteral("hand"), false, f.scene.GetSceneManager());
    state.counters["goal_ratio"] = 0;
    state.counters["goal_ms"] = 0;
}

bool Register()
{
    for (const auto& [figure, measured, floor] :
         {std::make_tuple("Open", &Open, &OpenFloor),
          std::make_tuple("Search", &Search, &SearchFloor)}) {
        const std::string full = "SubNodeDlg/" + std::string(figure) + "/" + ImportedRig().name;
        benchmark::RegisterBenchmark(full.c_str(), measured)->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((full + "/floor").c_str(), floor)
            ->Unit(benchmark::kMicrosecond);
    }
    return true;
}

const bool kRegistered = Register();

} // namespace
