#include "platform/message_box_style.h"

namespace vtx::message_box {

namespace {

constexpr int32_t kButtonMask = 0x0F;
constexpr int32_t kIconMask = 0xF0;
constexpr int32_t kDefaultMask = 0xF00;
constexpr int32_t kSystemModal = 0x1000;
constexpr int32_t kForeground = 0x10000;

}  // namespace

std::vector<int32_t> Buttons(int32_t style) {
  switch (style & kButtonMask) {
    case 1:
      return {kOk, kCancel};
    case 2:
      return {kAbort, kRetry, kIgnore};
    case 3:
      return {kYes, kNo, kCancel};
    case 4:
      return {kYes, kNo};
    case 5:
      return {kRetry, kCancel};
    default:
      return {kOk};
  }
}

int32_t DefaultButton(int32_t style) {
  std::vector<int32_t> buttons = Buttons(style);
  size_t index = static_cast<size_t>((style & kDefaultMask) >> 8);
  return index < buttons.size() ? buttons[index] : buttons.front();
}

std::string ButtonCaption(int32_t button) {
  switch (button) {
    case kOk:
      return "OK";
    case kCancel:
      return "Cancel";
    case kAbort:
      return "Abort";
    case kRetry:
      return "Retry";
    case kIgnore:
      return "Ignore";
    case kYes:
      return "Yes";
    case kNo:
      return "No";
    default:
      return "?";
  }
}

std::string Describe(int32_t style) {
  std::string out;
  switch (style & kIconMask) {
    case 16:
      out = "Critical, ";
      break;
    case 32:
      out = "Question, ";
      break;
    case 48:
      out = "Exclamation, ";
      break;
    case 64:
      out = "Information, ";
      break;
    default:
      break;
  }
  std::vector<int32_t> buttons = Buttons(style);
  for (size_t i = 0; i < buttons.size(); ++i) {
    if (i > 0) out += "/";
    out += ButtonCaption(buttons[i]);
  }
  if (style & kSystemModal) out += ", system modal";
  if (style & kForeground) out += ", foreground";
  return out;
}

}  // namespace vtx::message_box
