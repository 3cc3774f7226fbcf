#pragma once

#include "com/windows_api.h"

#include <string>
#include <string_view>

namespace vtx::com {

// COM strings (BSTR, UTF-16) to and from the add-in's UTF-8 strings.
// Pure functions; safe from any thread.

// A new BSTR holding `utf8`; the caller frees it with SysFreeString.
// Throws std::bad_alloc when the system is out of memory.
BSTR NewBstr(std::string_view utf8);

// The text of `value`; a null BSTR is the empty string, as COM treats it.
std::string FromBstr(const BSTR value);

// Owns one BSTR for the lifetime of a scope.
class BstrHolder {
 public:
  explicit BstrHolder(std::string_view utf8) : value_(NewBstr(utf8)) {}
  ~BstrHolder() { SysFreeString(value_); }
  BstrHolder(const BstrHolder&) = delete;
  BstrHolder& operator=(const BstrHolder&) = delete;
  BSTR get() const { return value_; }

 private:
  BSTR value_;
};

}  // namespace vtx::com
