#include "cli/scenario/json_format.h"

namespace vtx::cli {
namespace {

std::string Scalar(const Json& value) {
  return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string OneLine(const Json& value) {
  if (value.is_object()) {
    std::string out = "{";
    bool first = true;
    for (const auto& [key, member] : value.items()) {
      if (!first) out += ", ";
      first = false;
      out += Scalar(Json(key)) + ": " + OneLine(member);
    }
    return out + "}";
  }
  if (value.is_array()) {
    std::string out = "[";
    for (size_t i = 0; i < value.size(); ++i) {
      if (i) out += ", ";
      out += OneLine(value[i]);
    }
    return out + "]";
  }
  return Scalar(value);
}

// `lead`: the characters already on the line (indentation and key).
void Write(const Json& value, size_t indent, size_t lead, size_t width, std::string& out) {
  std::string flat = OneLine(value);
  if (!value.is_structured() || value.empty() || lead + flat.size() <= width) {
    out += flat;
    return;
  }
  std::string inner(indent + 2, ' ');
  bool object = value.is_object();
  out += object ? "{\n" : "[\n";
  size_t i = 0;
  for (const auto& [key, member] : value.items()) {
    std::string head = inner;
    if (object) head += Scalar(Json(key)) + ": ";
    out += head;
    Write(member, indent + 2, head.size(), width, out);
    out += ++i < value.size() ? ",\n" : "\n";
  }
  out += std::string(indent, ' ');
  out += object ? "}" : "]";
}

}  // namespace

std::string FormatJsonOneLine(const Json& value) { return OneLine(value); }

std::string FormatJson(const Json& value, std::size_t width) {
  std::string out;
  Write(value, 0, 0, width, out);
  return out;
}

}  // namespace vtx::cli
