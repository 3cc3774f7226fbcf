#include "cli/verify_command.h"

#include <algorithm>
#include <ostream>

#include <fmt/format.h>

#include "cli/audit_database.h"
#include "cli/checkpoint_signature.h"
#include "cli/ledger_anchors.h"
#include "emulator/store/ledger_verify.h"

namespace vtx::cli {

namespace {

std::string Plural(int64_t n, const char* one, const char* many) {
  return fmt::format("{} {}", n, n == 1 ? one : many);
}

std::string Verdict(const emu::LedgerCheck& check) {
  if (!check.problems.empty()) return "the audit trail does NOT hold";
  if (check.first > 1)
    return fmt::format(
        "consistent after entry #{}, which still carries the anchor's hash; what came before "
        "it was not checked here (a full verify checks it)",
        check.first - 1);
  if (check.anchors == 0)
    return "consistent; no anchor given: a truncated or recomputed chain cannot be told from "
           "this database alone";
  return fmt::format(
      "the audit trail holds: consistent, and it still reaches {} and computes to {} hash; what "
      "came after the last anchor is consistent, which is all the database alone can tell",
      check.anchors == 1 ? "the anchor" : "every anchor",
      check.anchors == 1 ? "its" : "each one's");
}

// The anchors of the options, their signatures checked against the public key.
struct Anchors {
  emu::VerifyOptions options;
  std::vector<std::string> problems;
  bool unchecked_signatures = false;
};

// A signed checkpoint line must verify with the public key given.
void CheckSignature(const GivenAnchor& a, const std::string& pubkey, Anchors& result) {
  if (!a.checkpoint) return;
  if (pubkey.empty()) {
    result.unchecked_signatures = result.unchecked_signatures || !a.signature.empty();
  } else if (a.signature.empty()) {
    result.problems.push_back(fmt::format("anchor {}: not signed", a.anchor.source));
  } else if (!SignatureHolds(a.signed_text, a.signature, pubkey)) {
    result.problems.push_back(fmt::format(
        "anchor {}: the signature does not verify: the line was changed, or signed with another "
        "key",
        a.anchor.source));
  }
}

Anchors GatherAnchors(const VerifyRequest& request) {
  Anchors result;
  for (const std::string& argument : request.against)
    for (const GivenAnchor& a : ReadAnchors(argument)) {
      result.options.against.push_back(a.anchor);
      CheckSignature(a, request.pubkey, result);
    }
  if (request.since.empty()) return result;
  // The latest anchor of a file of checkpoints.
  std::vector<GivenAnchor> since = ReadAnchors(request.since);
  const GivenAnchor& latest = *std::max_element(
      since.begin(), since.end(),
      [](const GivenAnchor& a, const GivenAnchor& b) { return a.anchor.seq < b.anchor.seq; });
  for (const emu::LedgerAnchor& a : result.options.against)
    if (a.seq < latest.anchor.seq)
      throw UsageError(fmt::format(
          "--against {} (entry #{}) comes before --since (entry #{}): a full verify checks it",
          a.source, a.seq, latest.anchor.seq));
  result.options.since = latest.anchor;
  CheckSignature(latest, request.pubkey, result);
  return result;
}

}  // namespace

int PrintLedgerCheck(const emu::LedgerCheck& check, std::ostream& out) {
  for (const std::string& problem : check.problems) out << "FAIL " << problem << "\n";
  out << fmt::format(
      "{}{}, {}, {}, {}: {}\n", Plural(check.entries, "ledger entry", "ledger entries"),
      check.first > 1 ? fmt::format(" after entry #{}", check.first - 1) : "",
      Plural(check.records, "electronic record", "electronic records"),
      Plural(check.links, "link of a record", "links of records"),
      Plural(static_cast<int64_t>(check.problems.size()), "problem", "problems"), Verdict(check));
  if (!check.links_chained)
    out << "Links are not under the chain in this database: it was made before they were; the "
           "first command that writes to it brings them under it\n";
  out << fmt::format("Head: entry #{}, hash {}, database {}\n", check.head.seq, check.head.hash,
                     check.head.database_id.empty() ? "without an id" : check.head.database_id);
  return check.problems.empty() ? 0 : 1;
}

int VerifyCommand(const VerifyRequest& request, std::ostream& out, std::ostream& err) {
  try {
    Anchors anchors = GatherAnchors(request);
    std::shared_ptr<emu::Store> store = OpenAuditDatabase(request.database);
    emu::LedgerCheck check =
        emu::VerifyLedger(store->Db(), store->GetModel(), store->Objects(), anchors.options);
    check.problems.insert(check.problems.begin(), anchors.problems.begin(), anchors.problems.end());
    if (anchors.unchecked_signatures)
      out << "Signatures of the checkpoints not checked: no --pubkey given\n";
    return PrintLedgerCheck(check, out);
  } catch (const std::exception& e) {
    return ReportAuditFailure("verify", request.database, e, err);
  }
}

}  // namespace vtx::cli
