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

// The hooks of `operation` on one object, as Korvel calls them, each add-in
// call its own transaction. `key` is the object's key text, or "#ID" for its
// object id.
// - UPDATE (any letter case): ExecuteSaveObjectAsGlobal on the stored
//   object, Korvel's update of the `set` values ("ATTR=VALUE"), then
//   ExecuteCreateNewERObject; UsageError without `set`.
// - DELETE: ExecuteCreateNewERObject (the record lists the last values), then
//   Korvel deletes the object.
// - any other: ExecuteCreateNewERObject; UsageError with `set`.
// A step runs only when the ones before it succeeded: Korvel stores no
// change whose record could not be prepared.
int HookCommand(const DatabaseOptions& options, const std::string& operation,
                const std::string& class_name, const std::string& key,
                const std::vector<std::string>& set, std::ostream& out, std::ostream& err);

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
