// What `vtx verify` costs: the whole ledger of 100,000 electronic records and
// their history links (200,000 entries) checked against the stored rows,
// digests included, and the check --since an anchor 1,000, 10,000 and
// 100,000 entries before the head, which must cost in proportion to the
// entries after the anchor.
//
//   ledger_verify_bench --benchmark_counters_tabular=true    (release build)
//
// items_per_second is entries checked per second.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/scenario/demo_model.h"
#include "emulator/sql/database.h"
#include "emulator/store/call_transaction.h"
#include "emulator/store/ledger.h"
#include "emulator/store/ledger_verify.h"
#include "emulator/store/store.h"

namespace vtx {
namespace {

constexpr int kRecords = 100000;

// The database, made once per run: a part and its records, each linked to it.
class LedgerDatabase {
 public:
  LedgerDatabase()
      : folder_(std::filesystem::temp_directory_path() /
                ("vtx_ledger_bench_" + std::to_string(::getpid()))) {
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    auto store = emu::Store::Open(Path(), Model());
    emu::CallTransaction call(*store);
    const int32_t part = store->Insert("Part", {{"PART_NUMBER", "PN-00100"}, {"REVISION", "A"}});
    for (int i = 0; i < kRecords; ++i) {
      const int32_t record = store->Insert(
          "Electronic Record",
          {{"CN_USER_ID", 1},
           {"CN_USER_NAME", "Doe, Jane"},
           {"CN_MACHINE_NAME", "WS-042"},
           {"CN_USER_NT_ID", "jdoe"},
           {"CN_OBJECT_ID", part},
           {"CN_CLASS_ID", 100},
           {"CN_HOOK_OPERATION", "CHECKIN"},
           {"CN_DESCRIPTION",
            "Checkin object: 'PN-00100 A' of class: 'Part' number " + std::to_string(i)}});
      store->Link("Part_History", {410, record}, {100, part});
    }
    call.Commit();
  }
  ~LedgerDatabase() { std::filesystem::remove_all(folder_); }

  std::string Path() const { return (folder_ / "ledger.db").string(); }
  static nlohmann::ordered_json Model() {
    return nlohmann::ordered_json::parse(cli::DemoModelJson());
  }

 private:
  std::filesystem::path folder_;
};

LedgerDatabase& Database() {
  static LedgerDatabase database;
  return database;
}

void Verify(benchmark::State& state, int64_t after) {
  auto store = emu::Store::Open(Database().Path(), LedgerDatabase::Model(), {}, nullptr,
                                emu::OpenMode::kRead);
  emu::VerifyOptions options;
  if (after > 0) {
    const int64_t seq = emu::ReadHead(store->Db()).seq - after;
    const auto entry = emu::ReadEntry(store->Db(), seq);
    options.since = emu::LedgerAnchor{"bench", seq, entry->hash, "", std::nullopt};
  }
  int64_t entries = 0;
  for (auto _ : state) {
    const emu::LedgerCheck check =
        emu::VerifyLedger(store->Db(), store->GetModel(), store->Objects(), options);
    if (!check.problems.empty()) state.SkipWithError(check.problems.front().c_str());
    entries += check.entries;
    state.counters["records"] = static_cast<double>(check.records);
    state.counters["links"] = static_cast<double>(check.links);
  }
  state.SetItemsProcessed(entries);
}

void BM_VerifyWholeLedger(benchmark::State& state) { Verify(state, 0); }
void BM_VerifySinceAnchor(benchmark::State& state) { Verify(state, state.range(0)); }

BENCHMARK(BM_VerifyWholeLedger)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VerifySinceAnchor)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vtx

BENCHMARK_MAIN();
