#include <gtest/gtest.h>

#include "emulator/store/ledger.h"

namespace vtx::emu {
namespace {

// Digests already kept in databases must come out the same whatever the code
// that builds their canonical text: one character more or less and `vtx
// verify` calls every sound record altered.
TEST(LedgerDigestTest, CanonicalTextsKeepTheirDigests) {
  const LedgerEntry entry{7, kLinkAction, -12, 510, 46000.123456789, 3, "ab", kGenesisHash, {}};
  EXPECT_EQ(EntryHash(entry), "ab2bf1ee8216f6d163f8fcb53ef87ea5c48ef95872f03f711ee616057b278786");

  ClassDef def;
  const std::pair<const char*, int32_t> columns[] = {
      {"CLASS_ID", ftype::kInt16}, {"OBJECT_ID", ftype::kInt32}, {"A", ftype::kDouble},
      {"B", ftype::kDate},         {"C", ftype::kBoolean},       {"D", ftype::kText},
      {"E", ftype::kText}};
  for (const auto& [name, type] : columns) def.attributes.push_back({name, name, type});
  const std::vector<Variant> row = {
      Variant(int16_t{500}), Variant(int32_t{42}),    Variant(0.1),   Variant::Date(46000.5),
      Variant(true),         Variant("h\xc3\xa9llo"), Variant::Null()};
  EXPECT_EQ(BoundRowDigest(def, row),
            "ad2fc1d3b3cad5d6e4a7141de80862ffe98cd659df5f198b351cf7d23506f618");
}

}  // namespace
}  // namespace vtx::emu
