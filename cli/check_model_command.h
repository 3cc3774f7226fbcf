// `vtx check-model`: what VTX_HA needs of a Korvel data model and does not
// find, for a model file in the scenario form or the model of a database.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace vtx::cli {

// Exactly one of `model_file` and `database` is given (the other is empty).
// The database is only read. Returns 0 when the model is complete, 1 after
// listing the gaps on `out`, 2 after saying on `err` why nothing was checked
// (both or neither source given, an unreadable file, an invalid model, an
// unknown class in `managed`).
int CheckModelCommand(const std::string& model_file, const std::string& database,
                      const std::vector<std::string>& managed, std::ostream& out,
                      std::ostream& err);

}  // namespace vtx::cli
