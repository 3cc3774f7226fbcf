#include "emulator/host_objects/emu_sql_query.h"

#include <cctype>

#include "emulator/host_objects/emu_record_list.h"
#include "emulator/sql/database.h"

namespace vtx::emu {

namespace {

int32_t TypeOfDeclared(std::string t) {
  for (char& c : t) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (t.find("INT") != std::string::npos) return 3;
  if (t.find("REAL") != std::string::npos || t.find("FLOA") != std::string::npos ||
      t.find("DOUB") != std::string::npos || t.find("NUM") != std::string::npos)
    return 4;
  if (t.find("CHAR") != std::string::npos || t.find("TEXT") != std::string::npos ||
      t.find("CLOB") != std::string::npos)
    return 1;
  return 0;
}

int32_t TypeOfValue(const Variant& v) {
  switch (v.Type()) {
    case VarType::kI4:
      return 3;
    case VarType::kR8:
      return 4;
    case VarType::kString:
      return 1;
    default:
      return 0;
  }
}

}  // namespace

void EmuSqlQuery::SetOptionA(int32_t value) {
  store_->Monitor().Enter(op::KvSqlQuery::SetOptionA, value);
  options_.emplace_back("A", Variant(value));
}

void EmuSqlQuery::SetOptionB(bool value) {
  store_->Monitor().Enter(op::KvSqlQuery::SetOptionB, value);
  options_.emplace_back("B", Variant(value));
}

void EmuSqlQuery::SetOptionC(int32_t value) {
  store_->Monitor().Enter(op::KvSqlQuery::SetOptionC, value);
  options_.emplace_back("C", Variant(value));
}

void EmuSqlQuery::SetOptionD(int32_t value) {
  store_->Monitor().Enter(op::KvSqlQuery::SetOptionD, value);
  options_.emplace_back("D", Variant(value));
}

void EmuSqlQuery::SetStatement(const std::string& statement) {
  store_->Monitor().Enter(op::KvSqlQuery::SetStatement, statement);
  statement_ = statement;
}

void EmuSqlQuery::Execute() {
  store_->Monitor().Enter(op::KvSqlQuery::Execute);
  // The statement is the caller's own text: it runs as written.
  Statement s = store_->Db().PrepareCallers(statement_);
  auto table = std::make_shared<RecordTable>();
  const int n = s.ColumnCount();
  for (int c = 0; c < n; ++c)
    table->columns.push_back(Column{s.ColumnName(c), 0, TypeOfDeclared(s.DeclaredType(c))});
  while (s.Step()) {
    std::vector<Variant> row;
    row.reserve(n);
    for (int c = 0; c < n; ++c) {
      row.push_back(s.Value(c));
      if (table->columns[c].type == 0) table->columns[c].type = TypeOfValue(row.back());
    }
    table->rows.push_back(std::move(row));
  }
  if (!s.ReadOnly()) store_->Db().ForgetReads();
  result_ = std::move(table);
}

Ref<KvRecordList> EmuSqlQuery::GetResult() {
  store_->Monitor().Enter(op::KvSqlQuery::GetResult);
  return MakeRef<EmuRecordList>(store_->SharedMonitor(), result_);
}

}  // namespace vtx::emu
