#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace vtx {

// The Automation run-time error: how every failure travels between the host
// and the add-in. Carries what the error object of a script runtime carries.
// An immutable value; safe to copy and read from any thread.
class RuntimeError : public std::exception {
 public:
  RuntimeError(int32_t number, std::string description, std::string source = {},
               std::string help_file = {}, int32_t help_context = 0);

  int32_t Number() const noexcept { return number_; }
  const std::string& Description() const noexcept { return description_; }
  const std::string& Source() const noexcept { return source_; }
  const std::string& HelpFile() const noexcept { return help_file_; }
  int32_t HelpContext() const noexcept { return help_context_; }

  const char* what() const noexcept override { return what_.c_str(); }

 private:
  int32_t number_;
  std::string description_;
  std::string source_;
  std::string help_file_;
  int32_t help_context_;
  std::string what_;
};

// The classic numbers the runtime raises for its own failures.
namespace err {
inline constexpr int32_t kInvalidProcedureCall = 5;
inline constexpr int32_t kOverflow = 6;
inline constexpr int32_t kSubscriptOutOfRange = 9;
inline constexpr int32_t kTypeMismatch = 13;
inline constexpr int32_t kObjectVariableNotSet = 91;
inline constexpr int32_t kInvalidUseOfNull = 94;
inline constexpr int32_t kCannotCreateObject = 429;
inline constexpr int32_t kNotSupported = 438;
// A failure reported by a COM server without a more precise code (E_FAIL).
inline constexpr int32_t kHostFailure = static_cast<int32_t>(0x80004005u);
}  // namespace err

// Raises the runtime's own error `number` with its standard description.
[[noreturn]] void Raise(int32_t number);
// Raises an error with an explicit description.
[[noreturn]] void Raise(int32_t number, std::string description, std::string source = {});

// The standard description of one of the runtime's own numbers ("Type mismatch").
std::string StandardDescription(int32_t number);

}  // namespace vtx
