#include "cli/terminal_presenter.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/message_box_style.h"
#include "runtime/text.h"

namespace vtx::cli {

namespace {

// What Windows puts in the title bar of a box given no title: the program's name.
constexpr const char* kUntitled = "VTX_HA";

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string current;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(current);
      current.clear();
      // CR LF and LF CR each end one line.
      if (i + 1 < text.size() && (text[i + 1] == '\r' || text[i + 1] == '\n') && text[i + 1] != c)
        ++i;
    } else {
      current.push_back(c);
    }
  }
  lines.push_back(current);
  return lines;
}

std::string PadTo(const std::string& s, int32_t width) {
  int32_t len = text::Len(s);
  return s + std::string(static_cast<size_t>(std::max(0, width - len)), ' ');
}

std::string Trimmed(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r");
  if (b == std::string::npos) return {};
  size_t e = s.find_last_not_of(" \t\r");
  return s.substr(b, e - b + 1);
}

}  // namespace

TerminalPresenter::TerminalPresenter(std::istream& in, std::ostream& out) : in_(in), out_(out) {}

int32_t TerminalPresenter::ShowMessage(const std::string& text, int32_t style,
                                       const std::optional<std::string>& title) {
  const std::string caption = title ? *title : kUntitled;
  std::vector<std::string> body = SplitLines(text);
  std::vector<int32_t> buttons = message_box::Buttons(style);
  std::string button_row;
  for (int32_t b : buttons) button_row += "[ " + message_box::ButtonCaption(b) + " ] ";
  const std::string meaning = "(" + message_box::Describe(style) + ")";

  int32_t width = std::max({text::Len(caption) + 2, text::Len(meaning), text::Len(button_row)});
  for (const std::string& line : body) width = std::max(width, text::Len(line));

  const std::string rule(static_cast<size_t>(width + 2), '-');
  out_ << "+- " << caption << " "
       << std::string(static_cast<size_t>(width - text::Len(caption) - 1), '-') << "+\n";
  out_ << "| " << PadTo(meaning, width) << " |\n";
  out_ << "| " << std::string(static_cast<size_t>(width), ' ') << " |\n";
  for (const std::string& line : body) out_ << "| " << PadTo(line, width) << " |\n";
  out_ << "| " << std::string(static_cast<size_t>(width), ' ') << " |\n";
  out_ << "| " << PadTo(button_row, width) << " |\n";
  out_ << "+" << rule << "+\n";
  out_.flush();
  return message_box::DefaultButton(style);
}

DialogAction TerminalPresenter::Ask(const DialogSnapshot& dialog) {
  out_ << "== " << dialog.caption << " ==\n";
  for (size_t i = 0; i < dialog.lines.size(); ++i) {
    bool selected = static_cast<int32_t>(i) == dialog.selected;
    out_ << (selected ? " *" : "  ") << (i + 1) << ". " << dialog.lines[i] << "\n";
  }
  for (const std::string& b : dialog.buttons) out_ << "[ " << b << " ] ";
  if (!dialog.buttons.empty()) out_ << "\n";
  while (true) {
    out_ << "Type a line number, ok or cancel: ";
    out_.flush();
    std::string answer;
    if (!std::getline(in_, answer)) {
      out_ << "\n";
      return DialogAction{DialogAction::Kind::kCancel, -1};
    }
    answer = text::LCase(Trimmed(answer));
    if (answer == "ok") return DialogAction{DialogAction::Kind::kOk, -1};
    if (answer == "cancel") return DialogAction{DialogAction::Kind::kCancel, -1};
    if (!answer.empty() && answer.find_first_not_of("0123456789") == std::string::npos &&
        answer.size() < 10) {
      int32_t number = std::stoi(answer);
      if (number >= 1 && static_cast<size_t>(number) <= dialog.lines.size())
        return DialogAction{DialogAction::Kind::kSelectAndOk, number - 1};
    }
    out_ << "Not understood: \"" << answer << "\".\n";
  }
}

}  // namespace vtx::cli
