#include "emulator/store/record_table.h"

#include <algorithm>
#include <cctype>

namespace vtx::emu {

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) ==
                  std::toupper(static_cast<unsigned char>(y));
         });
}

int RecordTable::FindColumn(std::string_view name) const {
  // Exact spelling first: it is the common case and needs no case fold.
  for (size_t i = 0; i < columns.size(); ++i)
    if (columns[i].name == name) return static_cast<int>(i);
  for (size_t i = 0; i < columns.size(); ++i)
    if (SameName(columns[i].name, name)) return static_cast<int>(i);
  return -1;
}

int RecordTable::AddColumn(std::string name, int32_t length, int32_t type) {
  const int existing = FindColumn(name);
  if (existing >= 0) return existing;
  columns.push_back(Column{std::move(name), length, type});
  for (auto& row : rows) row.resize(columns.size());
  return static_cast<int>(columns.size()) - 1;
}

namespace {

int Rank(const Variant& v) {
  if (v.IsEmpty() || v.IsNull()) return 0;
  if (v.IsNumeric()) return 1;
  if (v.IsString()) return 2;
  return 3;
}

}  // namespace

int CompareCells(const Variant& a, const Variant& b) {
  const int ra = Rank(a), rb = Rank(b);
  if (ra != rb) return ra < rb ? -1 : 1;
  if (ra == 1) {
    const double x = a.ToDouble(), y = b.ToDouble();
    return x < y ? -1 : (x > y ? 1 : 0);
  }
  if (ra == 2)
    return a.AsString().compare(b.AsString()) < 0 ? -1 : (a.AsString() == b.AsString() ? 0 : 1);
  return 0;
}

bool SameCell(const Variant& a, const Variant& b) {
  const int ra = Rank(a), rb = Rank(b);
  if (ra != rb) return false;
  if (ra == 0) return a.Type() == b.Type();
  if (ra == 3) return a == b;
  return CompareCells(a, b) == 0;
}

}  // namespace vtx::emu
