#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "emulator/session/host_state.h"
#include "host/kv_components.h"

namespace vtx::emu {

// The maker's language catalog ("Orbent.NlsCatalog"), answering from the
// environment's catalog texts as they are at each call. Language, namespace,
// key and appendix compare exactly: HasText is True only for the very
// language code given (no fallback from "fr-FR" to "fr"). The version is not
// used, but passes the monitor with the other arguments. GetText gives the
// text in the language last set, or "" when there is none (no language set
// yet, or no such text).
// The operations are also reachable by late binding under their own names.
// Thread-safety: none.
class EmulatedNlsCatalog : public NlsCatalog {
 public:
  explicit EmulatedNlsCatalog(std::shared_ptr<HostState> state) : state_(std::move(state)) {}

  void SetLanguage(const std::string& language) override;
  bool HasText(const std::string& language, const std::string& name_space, const std::string& key,
               const std::string& appendix, const std::string& version) override;
  std::string GetText(const std::string& name_space, const std::string& key,
                      const std::string& appendix, const std::string& version) override;

  Variant Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) override;

 private:
  const CatalogText* Find(const std::string& language, const std::string& name_space,
                          const std::string& key, const std::string& appendix) const;

  std::shared_ptr<HostState> state_;
  std::string language_;
};

}  // namespace vtx::emu
