// The commands that work on a database of one's own: `vtx init`, `hook`,
// `history`, `report` and `delete-history`.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/database_play.h"

namespace vtx::cli {

// Creates the database (or checks that it holds the model); with the demo
// model and without `empty`, also stores the demo data.
int InitCommand(const DatabaseOptions& options, bool empty, std::ostream& out, std::ostream& err);

// ExecuteCreateNewERObject with `operation` on one object. `key` is the
// object's key text, or "#ID" for its object id.
int HookCommand(const DatabaseOptions& options, const std::string& operation,
                const std::string& class_name, const std::string& key, std::ostream& out,
                std::ostream& err);

// ViewHistory on one object; the history list is printed as a table.
int HistoryCommand(const DatabaseOptions& options, const std::string& class_name,
                   const std::string& key, std::ostream& out, std::ostream& err);

// GenerateHistoryReport on the objects; prints the report files.
int ReportCommand(const DatabaseOptions& options, const std::string& class_name,
                  const std::vector<std::string>& keys, std::ostream& out, std::ostream& err);

// DeleteHistory on one object.
int DeleteHistoryCommand(const DatabaseOptions& options, const std::string& class_name,
                         const std::string& key, std::ostream& out, std::ostream& err);

}  // namespace vtx::cli
