#include "settings/double_plan.h"

#include <charconv>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>

namespace vtx::settings {

namespace {

// A text for a value such that two values compare equal with "=" exactly
// when their texts are equal; nullopt for a value that equals nothing.
std::optional<std::string> MatchText(const Variant& value) {
  if (value.IsNull() || value.IsObject() || value.IsArray() || value.IsMissing())
    return std::nullopt;
  if (value.IsString()) return "s" + value.AsString();
  if (value.IsEmpty()) return std::string("e");
  double number = value.ToDouble();
  if (number == 0) number = 0;  // -0 equals 0
  char buffer[32];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, number);
  return "n" + std::string(buffer, end);
}

using Identity = std::pair<int16_t, int32_t>;  // what the collection's IndexOf matches

struct Group {
  std::vector<size_t> members;  // candidate indexes, ascending
  // For each member: whether a later member of the group has another object
  // id, i.e. whether the member's outer step adds anything.
  std::vector<bool> has_later_partner;
  size_t missing = 0;  // distinct identities of the group not yet listed
};

}  // namespace

std::vector<size_t> PlanDoubleAdditions(const std::vector<DoubleCandidate>& candidates) {
  // Candidates that compare equal on section and subject form a group; only
  // pairs inside a group can match.
  std::vector<Group> groups;
  std::vector<std::optional<size_t>> group_of(candidates.size());
  std::vector<size_t> position_in_group(candidates.size());
  {
    std::unordered_map<std::string, size_t> by_key;
    for (size_t i = 0; i < candidates.size(); ++i) {
      std::optional<std::string> section = MatchText(candidates[i].section);
      std::optional<std::string> subject = MatchText(candidates[i].subject);
      if (!section || !subject) continue;
      std::string key = std::to_string(section->size()) + ":" + *section + *subject;
      auto [it, inserted] = by_key.try_emplace(std::move(key), groups.size());
      if (inserted) groups.emplace_back();
      group_of[i] = it->second;
      position_in_group[i] = groups[it->second].members.size();
      groups[it->second].members.push_back(i);
    }
  }

  std::map<Identity, std::vector<size_t>> groups_of_identity;
  for (size_t g = 0; g < groups.size(); ++g) {
    Group& group = groups[g];
    const size_t size = group.members.size();
    group.has_later_partner.assign(size, false);
    // Walking backwards, remember the last member's id and the last position
    // whose id differs from it: a member has a later partner when its own id
    // differs from the last one's, or when an id other than the last one's
    // follows it.
    const int32_t last_id = candidates[group.members[size - 1]].object_id;
    std::optional<size_t> last_other;  // last position with an id != last_id
    for (size_t p = size; p-- > 0;) {
      const int32_t id = candidates[group.members[p]].object_id;
      group.has_later_partner[p] =
          (id != last_id && p + 1 < size) || (last_other && *last_other > p);
      if (id != last_id && !last_other) last_other = p;
    }
    std::set<Identity> identities;
    for (size_t member : group.members)
      identities.insert({candidates[member].class_id, candidates[member].object_id});
    group.missing = identities.size();
    for (const Identity& identity : identities) groups_of_identity[identity].push_back(g);
  }

  std::vector<size_t> additions;
  std::set<Identity> listed;
  auto add_unless_listed = [&](size_t candidate) {
    Identity identity{candidates[candidate].class_id, candidates[candidate].object_id};
    if (!listed.insert(identity).second) return;
    additions.push_back(candidate);
    for (size_t g : groups_of_identity[identity]) --groups[g].missing;
  };

  for (size_t i = 0; i < candidates.size(); ++i) {
    if (!group_of[i]) continue;
    Group& group = groups[*group_of[i]];
    const size_t p = position_in_group[i];
    // Once every identity of the group is listed, no later step of the group
    // can add anything; with one identity per object this is after the
    // group's first step.
    if (group.missing == 0 || !group.has_later_partner[p]) continue;
    add_unless_listed(i);
    for (size_t q = p + 1; q < group.members.size() && group.missing > 0; ++q) {
      const size_t j = group.members[q];
      if (candidates[j].object_id != candidates[i].object_id) add_unless_listed(j);
    }
  }
  return additions;
}

}  // namespace vtx::settings
