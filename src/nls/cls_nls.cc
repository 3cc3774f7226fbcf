#include "nls/cls_nls.h"

#include "app/globals.h"
#include "host/kv_components.h"
#include "platform/platform.h"
#include "runtime/text.h"

namespace vtx {

namespace {

// The catalog keeps its texts per version; the add-in's texts are all "1.0".
constexpr const char* kCatalogVersion = "1.0";

}  // namespace

std::string clsNLS::GetTranslation(const std::string& Namespace, const std::string& MessageID,
                                   const std::string& AppendixID, const std::string& DefaultValue) {
  std::string result;
  // Any failure of the catalog leaves the caller with whatever was found so
  // far: a missing catalog must never stop the add-in.
  try {
    result = DefaultValue;
    std::string& language = Globals().SessionLanguage;
    if (language.empty()) return result;

    Ref<NlsCatalog> catalog =
        CastTo<NlsCatalog>(Platform::Current().CreateObject(progid::kNlsCatalog));
    catalog->SetLanguage(language);
    if (catalog->HasText(language, Namespace, MessageID, AppendixID, kCatalogVersion)) {
      result = catalog->GetText(Namespace, MessageID, AppendixID, kCatalogVersion);
    } else {
      int32_t dash = text::InStr(language, "-");
      if (dash > 0) {
        std::string base = text::Left(language, dash - 1);
        catalog->SetLanguage(base);
        if (catalog->HasText(base, Namespace, MessageID, AppendixID, kCatalogVersion)) {
          result = catalog->GetText(Namespace, MessageID, AppendixID, kCatalogVersion);
          // Later lookups of this thread go straight to the language that
          // answered.
          language = base;
        }
      }
    }
    if (result.empty()) result = DefaultValue;
  } catch (const RuntimeError&) {
  }
  return result;
}

const MethodTable<clsNLS>& clsNLS::Methods() {
  static const MethodTable<clsNLS> table = [] {
    MethodTable<clsNLS> t;
    t.Add({"GetTranslation",
           {{"Namespace", ParamType::kString, true},
            {"MessageID", ParamType::kString, true},
            {"AppendixID", ParamType::kString, true},
            {"DefaultValue", ParamType::kString, true}},
           true},
          [](clsNLS& self, std::vector<Variant>& args) {
            return Variant(self.GetTranslation(args[0].ToString(), args[1].ToString(),
                                               args[2].ToString(), args[3].ToString()));
          });
    return t;
  }();
  return table;
}

Variant clsNLS::Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) {
  if (kind != InvokeKind::kMethod) return Dispatch::Invoke(name, kind, args);
  return Methods().Invoke(*this, name, args);
}

}  // namespace vtx
