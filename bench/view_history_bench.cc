// Time of ViewHistory against the number of history objects of the viewed
// object. The viewer creates and fills one view per history object, each
// with all of them, so the host must make repeated filling cheap for the
// whole to stay near-linear; the ratio printed at the end tells.
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include "emulator/emulated_host.h"
#include "emulator/host_objects/store_interfaces.h"
#include "platform/platform.h"
#include "utils/cls_utils.h"

namespace {

using vtx::Ref;

nlohmann::json Model() {
  auto keyed = [](int id, const char* name, const char* table, const char* key) {
    return nlohmann::json{{"id", id},
                          {"name", name},
                          {"table", table},
                          {"super", id},
                          {"kind", 1},
                          {"attributes", {{{"name", key}, {"external", key}, {"type", 1}}}},
                          {"identifiers", {key}}};
  };
  return {{"classes",
           {keyed(100, "Document", "TN_DOCUMENTS", "DOC_NUMBER"),
            {{"id", 300},
             {"name", "Document_History"},
             {"table", "TN_DOC_HIST"},
             {"super", 300},
             {"kind", 7},
             {"ends", {100, 400}}},
            keyed(400, "History", "TN_HISTORY", "H_TEXT")}}};
}

// One host per size, built once: the setup is not what is measured.
struct Fixture {
  explicit Fixture(int histories) : host(":memory:", Model()) {
    vtx::emu::Store& store = host.GetStore();
    store.Insert("Document", {{"DOC_NUMBER", "A-100"}}, 1);
    for (int i = 0; i < histories; ++i) {
      const int32_t id = store.Insert("History", {{"H_TEXT", "entry " + std::to_string(i)}});
      store.Link("Document_History", {100, 1}, {400, id});
    }
    selection = vtx::emu::NewRecordList(store);
    selection->AddColumn("CLASS_ID", 2, 2);
    selection->AddColumn("OBJECT_ID", 4, 3);
    selection->SetValue("CLASS_ID", 0, vtx::Variant(int16_t{100}));
    selection->SetValue("OBJECT_ID", 0, vtx::Variant(int32_t{1}));
  }
  vtx::emu::EmulatedHost host;
  Ref<vtx::KvRecordList> selection;
};

Fixture& FixtureFor(int histories) {
  static std::map<int, std::unique_ptr<Fixture>> fixtures;
  auto& f = fixtures[histories];
  if (!f) f = std::make_unique<Fixture>(histories);
  return *f;
}

void BM_ViewHistory(benchmark::State& state) {
  const int histories = static_cast<int>(state.range(0));
  Fixture& f = FixtureFor(histories);
  vtx::ScopedPlatform platform(&f.host.GetPlatform());
  vtx::clsUtils utils;
  vtx::emu::HostAnswers close_list;
  close_list.modal_views.push_back(std::nullopt);
  for (auto _ : state) {
    state.PauseTiming();
    f.host.AddAnswers(close_list);  // the history list waits for the user
    state.ResumeTiming();
    Ref<vtx::KvSession> session = f.host.Session();
    Ref<vtx::KvRecordList> selection = f.selection;
    utils.ViewHistory(session, selection);
    state.PauseTiming();
    vtx::emu::StepRecordings seen = f.host.TakeRecordings();
    if (seen.host.views.size() != static_cast<size_t>(histories) ||
        !seen.platform.messages.empty()) {
      state.SkipWithError("the viewer did not show one view per history object");
    }
    state.ResumeTiming();
  }
  state.counters["histories"] = histories;
}
BENCHMARK(BM_ViewHistory)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// Keeps the time per run of each size so the ratio can be printed.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && !run.error_occurred)
        per_size_[static_cast<int>(run.counters.at("histories").value)] = run.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void PrintRatio() const {
    auto small = per_size_.find(100);
    auto large = per_size_.find(10000);
    if (small == per_size_.end() || large == per_size_.end() || small->second <= 0) return;
    std::printf("ViewHistory time ratio 10,000 / 100 history objects: %.1f (near-linear: 100)\n",
                large->second / small->second);
  }

 private:
  std::map<int, double> per_size_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatio();
  benchmark::Shutdown();
  return 0;
}
