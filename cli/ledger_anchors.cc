#include "cli/ledger_anchors.h"

#include <fstream>
#include <sstream>

#include <fmt/format.h>

#include "cli/exit_status.h"
#include "emulator/components/report_writer.h"

namespace vtx::cli {

namespace {

constexpr std::string_view kLinePrefix = "vtx-checkpoint ";
constexpr std::string_view kSignatureField = " signature=";

GivenAnchor Given(const emu::LedgerAnchor& anchor) {
  GivenAnchor given;
  given.anchor = anchor;
  return given;
}

// The records of an RFC 4180 text (quoted fields may hold line breaks).
std::vector<std::vector<std::string>> CsvRecords(const std::string& text) {
  std::vector<std::vector<std::string>> records(1, std::vector<std::string>(1));
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    std::string& field = records.back().back();
    if (quoted) {
      if (c != '"')
        field += c;
      else if (i + 1 < text.size() && text[i + 1] == '"')
        field += text[++i];
      else
        quoted = false;
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      records.back().emplace_back();
    } else if (c == '\n') {
      records.emplace_back(1);
    } else if (c != '\r') {
      field += c;
    }
  }
  return records;
}

std::vector<GivenAnchor> FromHtml(const std::string& text, const std::string& file) {
  const std::string attribute = "data-ledger-head=\"";
  const size_t at = text.find(attribute);
  if (at == std::string::npos) return {};
  const size_t start = at + attribute.size();
  const auto anchor = emu::ParseHeadText(text.substr(start, text.find('"', start) - start), file);
  if (!anchor) return {};
  return {Given(*anchor)};
}

std::vector<GivenAnchor> FromCsv(const std::string& text, const std::string& file) {
  const auto records = CsvRecords(text);
  if (records.size() < 2) return {};
  const std::vector<std::string>& header = records[0];
  for (size_t column = header.size(); column-- > 0;) {
    // "Ledger Head", or "Ledger Head (LEDGER_HEAD)" when an attribute took the label.
    if (header[column].rfind(emu::kLedgerHeadColumn, 0) != 0) continue;
    if (records[1].size() <= column) return {};
    const auto anchor = emu::ParseHeadText(records[1][column], file);
    if (anchor) return {Given(*anchor)};
  }
  return {};
}

std::vector<GivenAnchor> FromCheckpoints(const std::string& text, const std::string& file) {
  std::vector<GivenAnchor> anchors;
  std::istringstream lines(text);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind(kLinePrefix, 0) != 0) continue;
    GivenAnchor given;
    given.checkpoint = true;
    given.signed_text = line;
    if (const size_t at = line.find(kSignatureField); at != std::string::npos) {
      given.signed_text = line.substr(0, at);
      given.signature = line.substr(at + kSignatureField.size());
    }
    const auto anchor = emu::ParseHeadText(given.signed_text.substr(kLinePrefix.size()),
                                           fmt::format("{}:{}", file, number));
    if (!anchor) throw UsageError(fmt::format("{}:{}: not a checkpoint line of vtx", file, number));
    given.anchor = *anchor;
    anchors.push_back(std::move(given));
  }
  return anchors;
}

}  // namespace

std::string CheckpointLine(const emu::LedgerHead& head, double time) {
  return std::string(kLinePrefix) + emu::HeadText(head, time);
}

std::string WithSignature(const std::string& line, const std::string& signature) {
  return line + std::string(kSignatureField) + signature;
}

std::vector<GivenAnchor> ReadAnchors(const std::string& argument) {
  if (auto anchor = emu::ParseSeqHash(argument)) return {Given(*anchor)};
  std::ifstream in(argument, std::ios::binary);
  std::stringstream content;
  if (in.is_open()) content << in.rdbuf();
  if (!in.is_open() || in.bad())
    throw UsageError(
        fmt::format("--against {}: neither SEQ:HASH nor a file that can be read", argument));
  const std::string text = content.str();
  std::vector<GivenAnchor> anchors;
  if (text.rfind("<!DOCTYPE html", 0) == 0)
    anchors = FromHtml(text, argument);
  else if (text.rfind("\"Section\"", 0) == 0)
    anchors = FromCsv(text, argument);
  else
    anchors = FromCheckpoints(text, argument);
  if (anchors.empty())
    throw UsageError(fmt::format(
        "{}: holds no head of the ledger (a checkpoint line, or the head a report shows)",
        argument));
  return anchors;
}

}  // namespace vtx::cli
