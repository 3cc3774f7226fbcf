#include "emulator/components/nls_catalog.h"

#include "emulator/session/no_case.h"

namespace vtx::emu {

void EmulatedNlsCatalog::SetLanguage(const std::string& language) {
  state_->Enter(op::NlsCatalog::SetLanguage, language);
  language_ = language;
}

bool EmulatedNlsCatalog::HasText(const std::string& language, const std::string& name_space,
                                 const std::string& key, const std::string& appendix,
                                 const std::string& version) {
  state_->Enter(op::NlsCatalog::HasText, language, name_space, key, appendix, version);
  return Find(language, name_space, key, appendix) != nullptr;
}

std::string EmulatedNlsCatalog::GetText(const std::string& name_space, const std::string& key,
                                        const std::string& appendix, const std::string& version) {
  state_->Enter(op::NlsCatalog::GetText, name_space, key, appendix, version);
  const CatalogText* text = Find(language_, name_space, key, appendix);
  return text ? text->text : std::string();
}

Variant EmulatedNlsCatalog::Invoke(std::string_view name, InvokeKind kind,
                                   std::vector<Variant>& args) {
  if (kind != InvokeKind::kMethod) Raise(err::kNotSupported);
  auto text = [&args](size_t i) { return args[i].ToString(); };
  auto expect = [&args](size_t n) {
    if (args.size() != n) Raise(450, "Wrong number of arguments or invalid property assignment");
  };
  if (SameNoCase(name, "SetLanguage")) {
    expect(1);
    SetLanguage(text(0));
    return Variant();
  }
  if (SameNoCase(name, "HasText")) {
    expect(5);
    return Variant(HasText(text(0), text(1), text(2), text(3), text(4)));
  }
  if (SameNoCase(name, "GetText")) {
    expect(4);
    return Variant(GetText(text(0), text(1), text(2), text(3)));
  }
  Raise(err::kNotSupported);
}

const CatalogText* EmulatedNlsCatalog::Find(const std::string& language,
                                            const std::string& name_space, const std::string& key,
                                            const std::string& appendix) const {
  const auto& catalog = state_->environment.catalog;
  if (!catalog) return nullptr;
  for (const CatalogText& t : *catalog)
    if (t.language == language && t.name_space == name_space && t.key == key &&
        t.appendix == appendix)
      return &t;
  return nullptr;
}

}  // namespace vtx::emu
