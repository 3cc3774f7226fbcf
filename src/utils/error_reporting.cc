#include <cstdint>
#include <optional>
#include <string>

#include "app/globals.h"
#include "platform/platform.h"
#include "runtime/text.h"
#include "utils/cls_utils.h"
#include "utils/reported.h"

namespace vtx {

namespace {

constexpr int32_t kCriticalOkOnly = 16;  // critical-stop icon, OK button
constexpr const char* kReportTitle = "VTX";

}  // namespace

void clsUtils::GetError(const std::string& FunctionName, const RuntimeError& error) {
  GetError(FunctionName, [&] { return error; });
}

void clsUtils::GetError(const std::string& FunctionName,
                        const std::function<RuntimeError()>& read_error) {
  // Reports are for developers' machines only; elsewhere the failure result
  // alone tells the caller.
  std::optional<std::string> debug = Platform::Current().GetEnvironmentVariable("DEBUG");
  if (text::LCase(debug.value_or("")) != "true") return;

  const RuntimeError error = read_error();
  std::string message = "Following Error has occured in ''" + FunctionName + "''" + "\r" +
                        "Number      : " + std::to_string(error.Number()) + "\r" +
                        "Description : " + error.Description();
  Platform::Current().MessageBox(message, kCriticalOkOnly, std::string(kReportTitle));
}

std::string clsUtils::FillWithParams(const std::string& NLSMessage, const Variant& Params) {
  return Reported("FillWithParams", [&] {
    std::string message = NLSMessage;
    const int32_t upper = Params.UBound();
    for (int32_t i = 0; i <= upper; ++i) {
      if (i > INT16_MAX) Raise(err::kOverflow);
      // Translators write a placeholder inside double quotes; the quotes go
      // with it.
      const std::string placeholder = "\"{" + std::to_string(i) + "}\"";
      message = text::Replace(message, placeholder, Params.Elements()[i].ToString());
    }
    return message;
  });
}

bool clsUtils::SetFont(const Ref<Dispatch>& GUI) {
  // A form that cannot take the font keeps what it has; the dialog still
  // works, so nothing is reported.
  try {
    const std::string& font = Globals().InterfaceFontName;
    GUI->PutProperty("Font", Variant(font));
    Ref<Dispatch> controls = GUI->GetProperty("Controls").ToObject();
    // The form's control collection is 0-based, walked in collection order.
    for (int32_t i = 0; i < controls->GetProperty("Count").ToInt32(); ++i) {
      std::vector<Variant> index{Variant(i)};
      Ref<Dispatch> control = controls->CallMethod("Item", index).ToObject();
      // Lines, timers and the like have no font.
      if (HasProperty(control, "FontName")) control->PutProperty("Font", Variant(font));
    }
    return true;
  } catch (const RuntimeError&) {
    return false;
  }
}

bool clsUtils::HasProperty(const Ref<Dispatch>& object, const std::string& name) {
  try {
    object->GetProperty(name);
    return true;
  } catch (const RuntimeError&) {
    return false;
  }
}

}  // namespace vtx
