#include "app/startup.h"

#include "app/application.h"
#include "app/globals.h"
#include "host/kv_session.h"
#include "nls/translation.h"

namespace vtx {

namespace {

constexpr const char* kFontPath = "$Admin\\System Font\\FontName";
constexpr const char* kFallbackFont = "MS Sans Serif";

}  // namespace

bool ReadSessionLanguage(const Ref<KvSession>& KvSession) {
  std::string& language = Globals().SessionLanguage;
  language = KvSession->GetLanguage();
  return !language.empty();
}

bool ReadInterfaceFont(const Ref<KvSession>& KvSession) {
  std::string& font = Globals().InterfaceFontName;
  // The dialogs need some font whatever the configuration holds: any failure
  // to read it falls back to the system's classic one.
  try {
    Ref<KvConfiguration> configuration = KvSession->GetConfiguration();
    font = configuration->GetValue(kFontPath).ToString();
    if (font.empty()) font = kFallbackFont;
    return true;
  } catch (const RuntimeError&) {
    font = kFallbackFont;
    return false;
  }
}

bool Application::InitializeAddIn(Ref<vtx::KvSession>& KvSession) {
  ReadSessionLanguage(KvSession);
  ReadInterfaceFont(KvSession);
  if (!translation::SetDefaultTexts()) return false;
  return translation::LoadTranslations();
}

}  // namespace vtx
