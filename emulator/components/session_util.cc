#include "emulator/components/session_util.h"

#include <fmt/format.h>

#include "emulator/sql/database.h"
#include "host/kv_class.h"

namespace vtx::emu {

int64_t NextDatabaseCounter(Store& store, const std::string& name) {
  Database& db = store.Db();
  Database::Transaction transaction(db);
  db.Exec(
      "CREATE TABLE IF NOT EXISTS KV_HOST_COUNTERS (NAME TEXT PRIMARY KEY, VALUE INTEGER NOT "
      "NULL)");
  db.Prepare(
        "INSERT INTO KV_HOST_COUNTERS (NAME, VALUE) VALUES (?1, 1) "
        "ON CONFLICT(NAME) DO UPDATE SET VALUE = KV_HOST_COUNTERS.VALUE + 1")
      .BindText(1, name)
      .Run();
  Statement read = db.Prepare("SELECT VALUE FROM KV_HOST_COUNTERS WHERE NAME = ?1");
  read.BindText(1, name);
  const int64_t value = read.Step() ? read.Int(0) : 1;
  transaction.Commit();
  return value;
}

Variant EmulatedSessionUtil::NewIdentifierValue(const Ref<KvAttribute>& attribute,
                                                const std::string& text) {
  state_->Enter(op::KvSessionUtil::NewIdentifierValue, attribute, text);
  int32_t type = ftype::kText;
  if (attribute) {
    CallMonitor::Pause pause(*state_->monitor);
    type = attribute->GetAttributeType();
  }
  const int64_t n = NextDatabaseCounter(*state_->store, "NewIdentifierValue");
  switch (type) {
    case ftype::kInt16:
      if (n > INT16_MAX) Raise(err::kOverflow);
      return Variant(static_cast<int16_t>(n));
    case ftype::kInt32:
      if (n > INT32_MAX) Raise(err::kOverflow);
      return Variant(static_cast<int32_t>(n));
    case ftype::kDouble:
      return Variant(static_cast<double>(n));
    default:
      return Variant(fmt::format("{}{:06}", text.empty() ? "ID" : text, n));
  }
}

}  // namespace vtx::emu
