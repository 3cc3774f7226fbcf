#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "runtime/method_table.h"

namespace vtx {

// The public translation class (ProgID "VTX_HA.clsNLS"): looks a text up in
// the maker's language catalog for this thread's SessionLanguage, falling back
// to the base language and then to the caller's default.
//
// GetTranslation never raises: a failure returns what the result held at that
// moment. It may shorten this thread's SessionLanguage to its base language.
// Thread-safety: an instance is used on the thread that created it; it keeps
// no state of its own (the catalog lives for one call only).
class clsNLS : public Dispatch {
 public:
  std::string GetTranslation(const std::string& Namespace, const std::string& MessageID,
                             const std::string& AppendixID, const std::string& DefaultValue);

  Variant Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) override;
  std::string_view GetTypeName() const override { return "clsNLS"; }
  static const MethodTable<clsNLS>& Methods();
};

}  // namespace vtx
