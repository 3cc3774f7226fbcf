// The search for doubles among 20,000 administrator settings, through the
// emulated host, against the plan alone and against the pairwise comparison
// it replaces (measured on fewer settings: its cost grows with the square).
//
//   doubles_bench --benchmark_filter=.    (release build)

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "emulator/emulated_host.h"
#include "platform/platform.h"
#include "settings/cls_admin_settings.h"
#include "settings/double_plan.h"

namespace vtx {
namespace {

constexpr int kSettings = 20000;
// One setting in a hundred repeats the address of the one before it.
constexpr int kDoubleEvery = 100;

nlohmann::json Text(const char* name, int length) {
  return {{"name", name}, {"external", name}, {"type", 1}, {"length", length}};
}

nlohmann::json BenchModel() {
  return {{"classes",
           {{{"id", 200},
             {"name", "Admin Tree"},
             {"table", "TN_ADMIN"},
             {"super", 200},
             {"kind", 1},
             {"attributes", {Text("ADMIN_KEY", 40)}},
             {"identifiers", {"ADMIN_KEY"}},
             {"hierarchyLink", 250}},
            {{"id", 220},
             {"name", "Admin Setting"},
             {"table", "TN_ADMIN_SETTING"},
             {"super", 200},
             {"kind", 1},
             {"attributes",
              {Text("SETTING_ID", 40), Text("CN_SECTION", 100), Text("CN_SUBJECT", 100),
               Text("CN_VALUE_1", 254)}},
             {"identifiers", {"SETTING_ID"}}},
            {{"id", 250},
             {"name", "Admin_Tree"},
             {"table", "TN_ADMIN_TREE"},
             {"super", 250},
             {"kind", 6},
             {"ends", {200, 200}}}}}};
}

// The address of setting k: unique, except that every kDoubleEvery-th setting
// repeats the one before it.
std::pair<std::string, std::string> Address(int k) {
  if (k % kDoubleEvery == kDoubleEvery - 1) --k;
  return {"SECTION_" + std::to_string(k / 10), "SUBJECT_" + std::to_string(k % 10)};
}

struct Fixture {
  explicit Fixture(int settings)
      : host(std::make_unique<emu::EmulatedHost>(":memory:", BenchModel())) {
    for (int k = 0; k < settings; ++k) {
      auto [section, subject] = Address(k);
      host->GetStore().Insert("Admin Setting", {{"SETTING_ID", Variant("S" + std::to_string(k))},
                                                {"CN_SECTION", Variant(section)},
                                                {"CN_SUBJECT", Variant(subject)}});
    }
  }
  std::unique_ptr<emu::EmulatedHost> host;
};

void BM_GetBackTheDoubles(benchmark::State& state) {
  Fixture fixture(static_cast<int>(state.range(0)));
  ScopedPlatform platform(&fixture.host->GetPlatform());
  ClsAdminSettings settings;
  size_t listed = 0;
  for (auto _ : state) {
    if (!settings.GetBackTheDoubles(fixture.host->Session()))
      throw std::runtime_error("GetBackTheDoubles failed");
    state.PauseTiming();
    emu::StepRecordings seen = fixture.host->TakeRecordings();
    listed = seen.host.views.empty() ? 0 : seen.host.views[0].view->ObjectIds().size();
    state.ResumeTiming();
  }
  state.counters["settings"] = static_cast<double>(state.range(0));
  state.counters["doubles"] = static_cast<double>(listed);
}
BENCHMARK(BM_GetBackTheDoubles)->Arg(2000)->Arg(kSettings)->Unit(benchmark::kMillisecond);

std::vector<settings::DoubleCandidate> Candidates(int count) {
  std::vector<settings::DoubleCandidate> candidates;
  for (int k = 0; k < count; ++k) {
    auto [section, subject] = Address(k);
    candidates.push_back({220, k + 1, Variant(section), Variant(subject)});
  }
  return candidates;
}

void BM_PlanDoubleAdditions(benchmark::State& state) {
  const auto candidates = Candidates(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(settings::PlanDoubleAdditions(candidates));
}
BENCHMARK(BM_PlanDoubleAdditions)->Arg(2000)->Arg(kSettings)->Unit(benchmark::kMillisecond);

// The comparison of every pair, on values already read: what the search
// would cost even before its host reads.
void BM_PairwiseComparison(benchmark::State& state) {
  const auto candidates = Candidates(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    size_t matches = 0;
    for (size_t i = 0; i < candidates.size(); ++i)
      for (size_t j = i + 1; j < candidates.size(); ++j)
        if (CompareEqual(candidates[i].section, candidates[j].section) &&
            CompareEqual(candidates[i].subject, candidates[j].subject) &&
            candidates[i].object_id != candidates[j].object_id)
          ++matches;
    benchmark::DoNotOptimize(matches);
  }
}
BENCHMARK(BM_PairwiseComparison)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vtx

BENCHMARK_MAIN();
