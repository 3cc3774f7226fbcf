// The anchors `vtx verify --against` and `--since` are given: heads of the
// ledger kept outside the database.
#pragma once

#include <string>
#include <vector>

#include "emulator/store/ledger.h"
#include "emulator/store/ledger_anchor.h"

namespace vtx::cli {

// An anchor as given, with what its signature covers.
struct GivenAnchor {
  emu::LedgerAnchor anchor;
  bool checkpoint = false;  // a line of a checkpoint file (signed or not)
  std::string signed_text;  // the line without its signature
  std::string signature;    // base64 Ed25519 signature; "" when unsigned
};

// The line `vtx checkpoint` writes for a head taken at `time`:
// "vtx-checkpoint entry=42 hash=... database=... time=2026-12-05T10:11:12".
std::string CheckpointLine(const emu::LedgerHead& head, double time);
// The same line with its signature appended (" signature=BASE64").
std::string WithSignature(const std::string& line, const std::string& signature);

// The anchors `argument` names: "SEQ:HASH"; a report file `vtx report` wrote
// (its HTML page or its CSV); or a file of checkpoint lines, each line one
// anchor (named FILE:LINE). Raises UsageError when it names none or cannot be
// read.
std::vector<GivenAnchor> ReadAnchors(const std::string& argument);

}  // namespace vtx::cli
