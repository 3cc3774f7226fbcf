#include "emulator/sql/pg_cursor.h"

#include <libpq-fe.h>

#include <cmath>
#include <cstdlib>
#include <optional>
#include <vector>

#include <fmt/format.h>

#include "emulator/sql/pg_connection.h"
#include "emulator/sql/pg_failure.h"
#include "emulator/sql/pg_sql_text.h"
#include "runtime/runtime_error.h"

namespace vtx::emu {

namespace {

// Type oids of PostgreSQL's catalog (pg_type.h is not part of libpq).
constexpr Oid kBool = 16, kInt8 = 20, kInt2 = 21, kInt4 = 23, kOid = 26, kFloat4 = 700,
              kFloat8 = 701, kNumeric = 1700, kText = 25;

}  // namespace

class PgCursor final : public SqlCursor {
 public:
  PgCursor(PgConnection& owner, const std::string& sql, bool guarded)
      : owner_(owner), original_(sql), sql_(TranslateToPg(sql)), guarded_(guarded) {
    params_.resize(static_cast<size_t>(sql_.parameters));
    PrepareOnServer();
  }

  ~PgCursor() override {
    // Not while writes are held: the failure of one must not be lost here.
    if (!name_.empty() && !owner_.closing_ && owner_.lost_.empty() && owner_.held_.empty() &&
        generation_ == owner_.generation_ && PQtransactionStatus(owner_.conn_) != PQTRANS_INERROR) {
      try {
        owner_.Await(PQsendQuery(owner_.conn_, ("DEALLOCATE " + name_).c_str()), "DEALLOCATE");
      } catch (const RuntimeError&) {
        // The connection is given up, and the statement with it.
      }
    }
  }

  void BindNull(int index) override { Param(index).reset(); }
  void BindInt(int index, int64_t value) override { Param(index) = std::to_string(value); }
  void BindReal(int index, double value) override { Param(index) = fmt::format("{}", value); }
  void BindText(int index, std::string_view value) override { Param(index) = std::string(value); }

  bool Step() override {
    if (!result_ && !held_) Execute();
    if (held_) return false;
    return ++row_ < PQntuples(result_.get());
  }

  void Reset() override {
    held_ = false;
    result_.reset();
    row_ = -1;
  }
  void ClearBindings() override {
    for (auto& p : params_) p.reset();
  }
  bool ReadOnly() const override { return sql_.read_only; }

  int ColumnCount() const override { return Columns() ? PQnfields(Columns()) : 0; }
  std::string ColumnName(int column) const override {
    const std::string name = PQfname(Columns(), column);
    if (PQftable(Columns(), column) != InvalidOid) {
      auto it = owner_.spellings_.find(name);
      if (it != owner_.spellings_.end()) return it->second;
    }
    return AsSpelled(original_, name);
  }
  std::string DeclaredType(int column) const override {
    if (PQftable(Columns(), column) == InvalidOid) return {};
    switch (PQftype(Columns(), column)) {
      case kInt2:
      case kInt4:
      case kInt8:
        return "INTEGER";
      case kFloat4:
      case kFloat8:
        return "REAL";
      case kNumeric:
        return "NUMERIC";
      default:
        return "TEXT";
    }
  }
  SqlKind Kind(int column) const override {
    if (PQgetisnull(result_.get(), row_, column)) return SqlKind::kNull;
    switch (PQftype(result_.get(), column)) {
      case kBool:
      case kInt2:
      case kInt4:
      case kInt8:
      case kOid:
        return SqlKind::kInteger;
      case kFloat4:
      case kFloat8:
        return SqlKind::kReal;
      case kNumeric: {
        // SQLite's NUMERIC keeps a whole number as an integer.
        const double v = std::strtod(Raw(column), nullptr);
        return std::trunc(v) == v && std::fabs(v) < 9.2e18 ? SqlKind::kInteger : SqlKind::kReal;
      }
      default:
        return SqlKind::kText;
    }
  }
  int64_t Int(int column) const override {
    const char* raw = Raw(column);
    if (PQftype(result_.get(), column) == kBool) return raw[0] == 't' ? 1 : 0;
    if (Kind(column) == SqlKind::kReal || PQftype(result_.get(), column) == kNumeric)
      return static_cast<int64_t>(std::strtod(raw, nullptr));
    return std::strtoll(raw, nullptr, 10);
  }
  double Real(int column) const override {
    if (PQftype(result_.get(), column) == kBool) return Int(column);
    return std::strtod(Raw(column), nullptr);
  }
  std::string Text(int column) const override {
    switch (Kind(column)) {
      case SqlKind::kNull:
        return {};
      case SqlKind::kReal: {
        // As SQLite writes a REAL: 15 significant digits, "3.0" for three.
        std::string text = fmt::format("{:.15g}", Real(column));
        if (text.find_first_of(".eni") == std::string::npos) text += ".0";
        return text;
      }
      case SqlKind::kInteger:
        return std::to_string(Int(column));
      default:
        return std::string(Raw(column),
                           static_cast<size_t>(PQgetlength(result_.get(), row_, column)));
    }
  }

 private:
  std::optional<std::string>& Param(int index) {
    if (index < 1 || index > static_cast<int>(params_.size()))
      Raise(err::kHostFailure,
            fmt::format("Database error (bind): column index out of range ({})", original_),
            "Korvel");
    return params_[static_cast<size_t>(index) - 1];
  }

  const char* Raw(int column) const { return PQgetvalue(result_.get(), row_, column); }

  // The columns: of the result, or (asked before the statement ran) of its
  // description.
  const PGresult* Columns() const {
    if (result_) return result_.get();
    if (!columns_ && !name_.empty()) {
      owner_.SendHeld();
      columns_ = owner_.Await(PQsendDescribePrepared(owner_.conn_, name_.c_str()), original_);
    }
    return columns_.get();
  }

  // Prepares the statement on the server, again after the connection was
  // replaced (a commit whose answer was lost is found out on a new one).
  void PrepareOnServer() {
    generation_ = owner_.generation_;
    name_.clear();
    columns_.reset();
    if (!sql_.preparable) return;
    name_ = fmt::format("vtx_{}", ++owner_.next_name_);
    owner_.SendHeld();
    Guard([&] {
      // A parameter the text never names has no type to infer: call it text.
      std::vector<Oid> types;
      for (bool used : sql_.used) types.push_back(used ? 0 : kText);
      PgResult prepared = owner_.Await(PQsendPrepare(owner_.conn_, name_.c_str(), sql_.text.c_str(),
                                                     sql_.parameters, types.data()),
                                       original_);
      if (!PgSucceeded(prepared.get())) name_.clear();
      return prepared;
    });
  }

  // Runs `work` (which returns the result that tells whether it failed); a
  // guarded statement inside a transaction runs in a savepoint of its own,
  // so that its failure leaves the transaction as it was, as on SQLite.
  template <typename Work>
  PgResult Guard(Work work) {
    owner_.SendHeld();
    const bool savepoint = guarded_ && owner_.InTransaction();
    if (savepoint) owner_.Command("SAVEPOINT vtx_guard", original_);
    PgResult result = work();
    if (PgSucceeded(result.get())) {
      if (savepoint) owner_.Command("RELEASE vtx_guard", original_);
      return result;
    }
    if (savepoint)
      owner_.Await(PQsendQuery(owner_.conn_, "ROLLBACK TO vtx_guard; RELEASE vtx_guard"),
                   original_);
    RaisePgFailure(owner_.conn_, result.get(), original_, owner_.display_);
  }

  void Execute() {
    row_ = -1;
    if (generation_ != owner_.generation_) PrepareOnServer();
    if (!guarded_ && ((sql_.holdable && owner_.holding_) || !owner_.held_.empty()))
      return Pipelined();
    if (!sql_.preparable) {
      result_ = Guard(
          [&] { return owner_.Await(PQsendQuery(owner_.conn_, sql_.text.c_str()), original_); });
      // A commit of a transaction that failed is a rollback: say so.
      if (std::string_view(PQcmdStatus(result_.get())) == "ROLLBACK" &&
          PgLower(original_).rfind("commit", 0) == 0)
        Raise(err::kHostFailure,
              fmt::format("Database error ({}): the transaction was rolled back", original_),
              "Korvel");
      return;
    }
    std::vector<const char*> values;
    for (const auto& p : params_) values.push_back(p ? p->c_str() : nullptr);
    result_ = Guard([&] {
      return owner_.Await(
          PQsendQueryPrepared(owner_.conn_, name_.c_str(), static_cast<int>(values.size()),
                              values.data(), nullptr, nullptr, 0),
          original_);
    });
    if (!sql_.read_only) owner_.changes_ = std::atoll(PQcmdTuples(result_.get()));
  }

  // Holds the statement back while the connection holds writes, else runs it
  // with the statements held before it.
  void Pipelined() {
    PgConnection::Held now{sql_.preparable ? name_ : std::string(), sql_.text,
                           sql_.preparable ? params_ : decltype(params_)(), original_,
                           sql_.preparable && !sql_.read_only};
    if (sql_.holdable && owner_.holding_) {
      owner_.held_.push_back(std::move(now));
      held_ = true;
      return;
    }
    if (sql_.undoes) {
      // What was held is undone: its failure does not matter, and must not
      // keep the rollback from running.
      try {
        owner_.SendHeld();
      } catch (const RuntimeError&) {
        if (!owner_.lost_.empty()) throw;
      }
    }
    result_ = owner_.Exchange(&now);
    if (!PgSucceeded(result_.get()))
      RaisePgFailure(owner_.conn_, result_.get(), original_, owner_.display_);
    if (now.counts) owner_.changes_ = std::atoll(PQcmdTuples(result_.get()));
    // A commit of a transaction that failed is a rollback: say so.
    if (std::string_view(PQcmdStatus(result_.get())) == "ROLLBACK" &&
        PgLower(original_).rfind("commit", 0) == 0)
      Raise(err::kHostFailure,
            fmt::format("Database error ({}): the transaction was rolled back", original_),
            "Korvel");
  }

  PgConnection& owner_;
  bool held_ = false;  // run: held back by the connection
  std::string original_;
  PgSqlText sql_;
  bool guarded_;
  std::string name_;
  int generation_ = 0;  // of the connection the statement was prepared on
  std::vector<std::optional<std::string>> params_;
  mutable PgResult columns_{nullptr, &PQclear};
  PgResult result_{nullptr, &PQclear};
  int row_ = -1;
};

std::unique_ptr<SqlCursor> MakePgCursor(PgConnection& owner, const std::string& sql, bool guarded) {
  return std::make_unique<PgCursor>(owner, sql, guarded);
}

}  // namespace vtx::emu
