// JSON paths that name one entry of a scenario or model file in error
// messages ("steps[3].args.Operation"), and the error that carries one.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace vtx::cli {

// Scenario files keep the order of keys as written: record-list columns and
// attribute values are taken in that order.
using Json = nlohmann::ordered_json;

// `path` followed by the member `key`: ".key", or ["key"] when the key is not
// a plain name (spaces, dots, brackets, quotes).
std::string JoinKey(std::string_view path, std::string_view key);
// `path` followed by the element `index`: "[index]".
std::string JoinIndex(std::string_view path, std::size_t index);

// An entry that does not have the form the contract asks for. what() is
// "path: message" (the message alone for an empty path).
class JsonPathError : public std::runtime_error {
 public:
  JsonPathError(std::string path, std::string message);
  const std::string& Path() const noexcept { return path_; }
  const std::string& Message() const noexcept { return message_; }

 private:
  std::string path_;
  std::string message_;
};

// An invalid scenario or model file: what() is "FILE: path: message", the
// form `vtx run` prints before it exits with status 2.
class InvalidFileError : public std::runtime_error {
 public:
  InvalidFileError(const std::string& file, const std::string& path, const std::string& message);
};

// The JSON type of `value` in the words of an error message ("a string").
std::string DescribeJsonType(const Json& value);

}  // namespace vtx::cli
