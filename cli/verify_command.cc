#include "cli/verify_command.h"

#include <ostream>

#include <fmt/format.h>

#include "cli/audit_database.h"
#include "emulator/store/ledger_verify.h"

namespace vtx::cli {

int PrintLedgerCheck(const emu::LedgerCheck& check, std::ostream& out) {
  for (const std::string& problem : check.problems) out << "FAIL " << problem << "\n";
  out << fmt::format(
      "{} ledger entries, {} electronic records, {} problem{}: {}\n", check.entries, check.records,
      check.problems.size(), check.problems.size() == 1 ? "" : "s",
      check.problems.empty() ? "the audit trail holds" : "the audit trail does NOT hold");
  return check.problems.empty() ? 0 : 1;
}

int VerifyCommand(const std::string& database, std::ostream& out, std::ostream& err) {
  try {
    std::shared_ptr<emu::Store> store = OpenAuditDatabase(database);
    return PrintLedgerCheck(emu::VerifyLedger(store->Db(), store->GetModel(), store->Objects()),
                            out);
  } catch (const std::exception& e) {
    return ReportAuditFailure("verify", database, e, err);
  }
}

}  // namespace vtx::cli
