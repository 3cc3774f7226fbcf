#include "settings/double_plan.h"
#include "support/case_name.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

namespace vtx::settings {
namespace {

// The comparison as the search for doubles defines it, pair by pair: the
// order of additions every faster plan must reproduce.
std::vector<size_t> PairwiseReference(const std::vector<DoubleCandidate>& c) {
  std::vector<size_t> added;
  auto index_of = [&](size_t k) -> int {
    for (size_t n = 0; n < added.size(); ++n)
      if (c[added[n]].class_id == c[k].class_id && c[added[n]].object_id == c[k].object_id)
        return static_cast<int>(n);
    return -1;
  };
  for (size_t i = 0; i < c.size(); ++i) {
    for (size_t j = i + 1; j < c.size(); ++j) {
      if (CompareEqual(c[i].section, c[j].section) && CompareEqual(c[i].subject, c[j].subject) &&
          c[i].object_id != c[j].object_id) {
        if (index_of(i) == -1) added.push_back(i);
        if (index_of(j) == -1) added.push_back(j);
      }
    }
  }
  return added;
}

DoubleCandidate Text(int32_t id, const char* section, const char* subject) {
  return {100, id, Variant(section), Variant(subject)};
}

struct FixedCase {
  const char* name;
  std::vector<DoubleCandidate> candidates;
  std::vector<size_t> expected;
};
VTX_PRINT_CASE_BY_NAME(FixedCase)

class DoublePlanFixedTest : public ::testing::TestWithParam<FixedCase> {};

TEST_P(DoublePlanFixedTest, AddsWhatThePairwiseComparisonAdds) {
  const FixedCase& c = GetParam();
  EXPECT_EQ(PlanDoubleAdditions(c.candidates), c.expected);
  EXPECT_EQ(PairwiseReference(c.candidates), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DoublePlanFixedTest,
    ::testing::Values(
        FixedCase{"NoCandidates", {}, {}},
        FixedCase{"ThreeSharingAnAddressAreListedOnce",
                  {Text(1, "S", "T"), Text(2, "S", "T"), Text(3, "S", "T")},
                  {0, 1, 2}},
        FixedCase{
            "SubjectsDifferingInCaseAreNoDoubles", {Text(1, "S", "T"), Text(2, "S", "t")}, {}},
        FixedCase{"SameObjectTwiceIsNoDouble", {Text(7, "S", "T"), Text(7, "S", "T")}, {}},
        FixedCase{"GroupsComeInOrderOfTheirFirstMember",
                  {Text(1, "B", "T"), Text(2, "A", "T"), Text(3, "A", "T"), Text(4, "B", "T")},
                  {0, 3, 1, 2}},
        FixedCase{"RepeatedObjectIsListedOnceAfterItsFirstPartner",
                  {Text(5, "S", "T"), Text(5, "S", "T"), Text(6, "S", "T"), Text(5, "S", "T")},
                  {0, 2}},
        FixedCase{
            "NullNeverMatches",
            {{100, 1, Variant::Null(), Variant("T")}, {100, 2, Variant::Null(), Variant("T")}},
            {}},
        FixedCase{"NumbersMatchAcrossIntegerWidths",
                  {{100, 1, Variant(int16_t{3}), Variant("T")},
                   {100, 2, Variant(int32_t{3}), Variant("T")},
                   {100, 3, Variant(3.5), Variant("T")}},
                  {0, 1}},
        FixedCase{"SameIdInTwoClassesAreTwoObjects",
                  {{100, 1, Variant("S"), Variant("T")},
                   {101, 1, Variant("S"), Variant("T")},
                   {100, 2, Variant("S"), Variant("T")}},
                  {0, 2, 1}}),
    [](const auto& info) { return std::string(info.param.name); });

// Random candidate sets over small alphabets, so that groups, repeated
// objects, Null values and classes sharing object ids all occur.
std::vector<DoubleCandidate> RandomCandidates(std::mt19937& rng, bool numeric_sections,
                                              bool unique_objects) {
  const char* sections[] = {"A", "B", "C", "a", "A "};
  const char* subjects[] = {"X", "Y", "x"};
  std::uniform_int_distribution<int> size(0, 40);
  std::uniform_int_distribution<int> pick(0, 99);
  std::vector<DoubleCandidate> out;
  const int n = size(rng);
  for (int k = 0; k < n; ++k) {
    DoubleCandidate c;
    c.class_id = unique_objects || pick(rng) < 80 ? 100 : 101;
    c.object_id = unique_objects ? 1000 + k : 1 + pick(rng) % 12;
    if (pick(rng) < 5) {
      c.section = Variant::Null();
    } else if (numeric_sections) {
      const int v = pick(rng) % 4;
      c.section =
          pick(rng) < 50 ? Variant(static_cast<int16_t>(v)) : Variant(static_cast<double>(v));
    } else {
      c.section = Variant(sections[pick(rng) % 5]);
    }
    c.subject = pick(rng) < 5 ? Variant::Null() : Variant(subjects[pick(rng) % 3]);
    out.push_back(std::move(c));
  }
  return out;
}

TEST(DoublePlanRandomTest, MatchesThePairwiseComparisonOnRandomSets) {
  for (bool numeric : {false, true}) {
    for (bool unique : {true, false}) {
      std::mt19937 rng(20240601u + numeric * 2 + unique);
      for (int trial = 0; trial < 1000; ++trial) {
        std::vector<DoubleCandidate> candidates = RandomCandidates(rng, numeric, unique);
        ASSERT_EQ(PlanDoubleAdditions(candidates), PairwiseReference(candidates))
            << "numeric=" << numeric << " unique=" << unique << " trial=" << trial;
      }
    }
  }
}

}  // namespace
}  // namespace vtx::settings
