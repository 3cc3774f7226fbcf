#include "cli/scenario/json_reader.h"

#include <fmt/format.h>

namespace vtx::cli {

void ExpectObject(const Json& value, const std::string& path) {
  if (!value.is_object()) throw JsonPathError(path, "expected an object");
}

void ExpectArray(const Json& value, const std::string& path) {
  if (!value.is_array()) throw JsonPathError(path, "expected an array");
}

std::string ExpectString(const Json& value, const std::string& path) {
  if (!value.is_string()) throw JsonPathError(path, "expected a string");
  return value.get<std::string>();
}

bool ExpectBool(const Json& value, const std::string& path) {
  if (!value.is_boolean()) throw JsonPathError(path, "expected true or false");
  return value.get<bool>();
}

int64_t ExpectInteger(const Json& value, const std::string& path, int64_t min, int64_t max) {
  int64_t n = 0;
  if (value.is_number_integer()) {
    n = value.get<int64_t>();
  } else if (value.is_number_unsigned()) {
    uint64_t u = value.get<uint64_t>();
    if (u > static_cast<uint64_t>(max)) {
      throw JsonPathError(path, fmt::format("expected a whole number from {} to {}", min, max));
    }
    n = static_cast<int64_t>(u);
  } else if (value.is_number_float()) {
    double d = value.get<double>();
    // Compared as doubles first: converting one beyond int64_t is undefined.
    if (!(d >= static_cast<double>(min) && d < static_cast<double>(max) + 1.0))
      throw JsonPathError(path, fmt::format("expected a whole number from {} to {}", min, max));
    if (d != static_cast<double>(static_cast<int64_t>(d)))
      throw JsonPathError(path, "expected a whole number");
    n = static_cast<int64_t>(d);
  } else {
    throw JsonPathError(path, "expected a whole number");
  }
  if (n < min || n > max)
    throw JsonPathError(path, fmt::format("expected a whole number from {} to {}", min, max));
  return n;
}

ObjectReader::ObjectReader(const Json& object, std::string path)
    : object_(object), path_(std::move(path)) {
  ExpectObject(object_, path_);
}

bool ObjectReader::Has(std::string_view key) const {
  return object_.find(std::string(key)) != object_.end();
}

const Json* ObjectReader::Find(std::string_view key) {
  known_.emplace(key);
  auto it = object_.find(std::string(key));
  return it == object_.end() ? nullptr : &*it;
}

const Json& ObjectReader::Require(std::string_view key) {
  const Json* value = Find(key);
  if (!value) throw JsonPathError(path_, fmt::format("missing key \"{}\"", key));
  return *value;
}

std::string ObjectReader::RequireString(std::string_view key) {
  return ExpectString(Require(key), PathOf(key));
}

std::optional<std::string> ObjectReader::OptionalString(std::string_view key) {
  const Json* value = Find(key);
  if (!value) return std::nullopt;
  return ExpectString(*value, PathOf(key));
}

std::optional<bool> ObjectReader::OptionalBool(std::string_view key) {
  const Json* value = Find(key);
  if (!value) return std::nullopt;
  return ExpectBool(*value, PathOf(key));
}

int64_t ObjectReader::RequireInteger(std::string_view key, int64_t min, int64_t max) {
  return ExpectInteger(Require(key), PathOf(key), min, max);
}

std::optional<int64_t> ObjectReader::OptionalInteger(std::string_view key, int64_t min,
                                                     int64_t max) {
  const Json* value = Find(key);
  if (!value) return std::nullopt;
  return ExpectInteger(*value, PathOf(key), min, max);
}

void ObjectReader::Finish() const {
  for (const auto& [key, _] : object_.items()) {
    if (!known_.contains(key)) throw JsonPathError(PathOf(key), "unknown key");
  }
}

}  // namespace vtx::cli
