// GetFreeObjects over 10 projects whose trees hold 10,000 parts in total,
// with 100 parts in no project. Reports the time of one call and, from a
// separate traced run, the number of host round trips it makes and the
// average time of one.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include "emulator/emulated_host.h"
#include "emulator/store/call_transaction.h"
#include "platform/platform.h"
#include "utils/cls_utils.h"

namespace {

using vtx::Ref;

constexpr int kProjects = 10;
constexpr int kPartsPerProject = 1000;  // one root on the desktop and 999 below it
constexpr int kChildrenPerFather = 10;
constexpr int kFreeParts = 100;

nlohmann::json Model() {
  auto text = [](const char* name) {
    return nlohmann::json{{"name", name}, {"external", name}, {"type", 1}};
  };
  return {{"classes",
           {{{"id", 50},
             {"name", "Project"},
             {"table", "TN_PROJECTS"},
             {"super", 50},
             {"kind", 1},
             {"attributes", {text("PROJECT_NAME")}},
             {"identifiers", {"PROJECT_NAME"}}},
            {{"id", 60},
             {"name", "Project_Part"},
             {"table", "TN_PROJECT_PART"},
             {"super", 60},
             {"kind", 7},
             {"ends", {50, 100}}},
            {{"id", 100},
             {"name", "Part"},
             {"table", "TN_PARTS"},
             {"super", 100},
             {"kind", 1},
             {"attributes", {text("PART_NUMBER")}},
             {"identifiers", {"PART_NUMBER"}},
             {"hierarchyLink", 150}},
            {{"id", 150},
             {"name", "Part_Tree"},
             {"table", "TN_PART_TREE"},
             {"super", 150},
             {"kind", 6},
             {"ends", {100, 100}}}}},
          {"host", {{"maxQuerySize", 1000000}}}};
}

struct Fixture {
  Fixture() : host(":memory:", Model()) {
    vtx::emu::Store& store = host.GetStore();
    int number = 0;
    auto part = [&] {
      return store.Insert("Part", {{"PART_NUMBER", "P-" + std::to_string(++number)}});
    };
    for (int p = 0; p < kProjects; ++p) {
      const int32_t project =
          store.Insert("Project", {{"PROJECT_NAME", "Project " + std::to_string(p)}});
      // A tree filled level by level, each father with up to ten sons.
      std::vector<int32_t> tree{part()};
      store.Link("Project_Part", {50, project}, {100, tree[0]});
      for (size_t father = 0; tree.size() < kPartsPerProject; ++father) {
        for (int k = 0; k < kChildrenPerFather && tree.size() < kPartsPerProject; ++k) {
          tree.push_back(part());
          store.Link("Part_Tree", {100, tree[father]}, {100, tree.back()});
        }
      }
    }
    for (int i = 0; i < kFreeParts; ++i) part();
  }
  vtx::emu::EmulatedHost host;
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

// One call into the add-in, as the front ends make it: one store transaction.
bool RunOnce(Fixture& f, Ref<vtx::KvObjects>& free) {
  vtx::clsUtils utils;
  vtx::emu::CallTransaction call(f.host.GetStore());
  const bool found = utils.GetFreeObjects(f.host.Session(), "TN_PARTS", free);
  call.Commit();
  return found;
}

void BM_GetFreeObjects(benchmark::State& state) {
  Fixture& f = Shared();
  vtx::ScopedPlatform platform(&f.host.GetPlatform());

  // Round trips, counted once with the trace on (outside the timing).
  f.host.Monitor().SetTracing(true);
  Ref<vtx::KvObjects> free;
  if (!RunOnce(f, free)) state.SkipWithError("GetFreeObjects failed");
  f.host.Monitor().SetTracing(false);
  const std::vector<vtx::emu::TraceEntry> trace = f.host.TakeRecordings().trace;
  std::map<std::string, int64_t> per_operation;
  for (const auto& entry : trace) ++per_operation[entry.op];
  std::vector<std::pair<int64_t, std::string>> busiest;
  for (const auto& [op, n] : per_operation) busiest.emplace_back(n, op);
  std::sort(busiest.rbegin(), busiest.rend());
  std::printf("GetFreeObjects host round trips: %zu; busiest:", trace.size());
  for (size_t i = 0; i < busiest.size() && i < 6; ++i)
    std::printf(" %s %lld;", busiest[i].second.c_str(), static_cast<long long>(busiest[i].first));
  std::printf("\n");

  // Wall and CPU time apart: on a busy machine the wall clock also counts
  // other processes.
  auto cpu_seconds = [] {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
  };
  double wall = 0, cpu = 0;
  for (auto _ : state) {
    Ref<vtx::KvObjects> result;
    const auto start = std::chrono::steady_clock::now();
    const double cpu_start = cpu_seconds();
    benchmark::DoNotOptimize(RunOnce(f, result));
    cpu += cpu_seconds() - cpu_start;
    wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.PauseTiming();
    f.host.TakeRecordings();
    state.ResumeTiming();
  }
  const double calls = static_cast<double>(state.iterations()) * static_cast<double>(trace.size());
  std::printf("GetFreeObjects: %zu host calls, %.3f us per host call (%.3f us CPU)\n", trace.size(),
              wall * 1e6 / calls, cpu * 1e6 / calls);
  state.counters["host_calls"] = static_cast<double>(trace.size());
  state.counters["us_per_call"] = wall * 1e6 / calls;
  state.counters["cpu_us_per_call"] = cpu * 1e6 / calls;
  state.counters["free_objects"] = free.IsNothing() ? 0 : free->GetCount();
}
BENCHMARK(BM_GetFreeObjects)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
