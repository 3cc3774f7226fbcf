#include "cli/scenario/json_path.h"

namespace vtx::cli {
namespace {

bool IsPlainName(std::string_view key) {
  if (key.empty()) return false;
  for (char c : key) {
    bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                 c == '_' || c == '$' || c == '-' || c == ':';
    if (!plain) return false;
  }
  return true;
}

std::string JoinMessage(const std::string& path, const std::string& message) {
  return path.empty() ? message : path + ": " + message;
}

}  // namespace

std::string JoinKey(std::string_view path, std::string_view key) {
  std::string out(path);
  if (IsPlainName(key)) {
    if (!out.empty()) out += '.';
    out += key;
    return out;
  }
  out += "[\"";
  for (char c : key) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  out += "\"]";
  return out;
}

std::string JoinIndex(std::string_view path, std::size_t index) {
  return std::string(path) + "[" + std::to_string(index) + "]";
}

JsonPathError::JsonPathError(std::string path, std::string message)
    : std::runtime_error(JoinMessage(path, message)),
      path_(std::move(path)),
      message_(std::move(message)) {}

InvalidFileError::InvalidFileError(const std::string& file, const std::string& path,
                                   const std::string& message)
    : std::runtime_error(file + ": " + JoinMessage(path, message)) {}

std::string DescribeJsonType(const Json& value) {
  switch (value.type()) {
    case Json::value_t::null:
      return "null";
    case Json::value_t::boolean:
      return "a Boolean";
    case Json::value_t::number_integer:
    case Json::value_t::number_unsigned:
    case Json::value_t::number_float:
      return "a number";
    case Json::value_t::string:
      return "a string";
    case Json::value_t::array:
      return "an array";
    case Json::value_t::object:
      return "an object";
    default:
      return "an unsupported value";
  }
}

}  // namespace vtx::cli
