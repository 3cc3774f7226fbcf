// `vtx settings`: the settings store of a database of one's own, through the
// add-in's ClsAdminSettings as Korvel's own tools would call it.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "cli/database_play.h"

namespace vtx::cli {

struct SettingsRequest {
  // get | set | long | section | doubles | outside-tree | template
  std::string action;
  std::string section;
  std::string subject;
  std::vector<std::string> values;       // set: value 1, 2, ...
  std::optional<std::string> long_text;  // long: the text to store; none: read it
  int32_t user_id = 0;                   // above 0: that user's setting, else the administrator's
  std::string folder = "ROOT";           // outside-tree: folder id of the tree's root
};

// The actions in the order `vtx settings --help` lists them.
const std::vector<std::string>& SettingsActions();

// The request of `vtx settings ACTION ARGS...`: get SECTION SUBJECT; set
// SECTION SUBJECT VALUE...; long SECTION SUBJECT; section SECTION; doubles;
// outside-tree [FOLDER]; template SECTION. Raises std::invalid_argument with
// the usage of the action when the arguments do not fit it.
SettingsRequest MakeSettingsRequest(const std::string& action, std::vector<std::string> args);

int SettingsCommand(const DatabaseOptions& options, const SettingsRequest& request,
                    std::ostream& out, std::ostream& err);

}  // namespace vtx::cli
