#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "runtime/variant.h"

namespace vtx::settings {

// What the search for doubles reads of one candidate setting.
struct DoubleCandidate {
  int16_t class_id = 0;
  int32_t object_id = 0;
  Variant section;
  Variant subject;
};

// The candidates (by index) that go into the list of doubles, in the order in
// which this comparison adds them:
//
//   for i in 0..n-1, for j in i+1..n-1:
//     if section(i) = section(j) and subject(i) = subject(j) and the object
//     ids differ: add i, then add j, each unless an object of the same class
//     and object id is already listed.
//
// "=" is the language's comparison: Null equals nothing; values of one
// attribute (texts, or numbers) compare exactly. The work is linear in the
// number of candidates for sets in which a (class, object id) occurs at most
// once, which is what the store hands out.
std::vector<size_t> PlanDoubleAdditions(const std::vector<DoubleCandidate>& candidates);

}  // namespace vtx::settings
