#include "com/windows_platform.h"

#include <cstdio>
#include <vector>

#include "com/com_string.h"
#include "com/object_bridge.h"
#include "com/template_dialog.h"
#include "com/windows_api.h"
#include "platform/local_clock.h"
#include "platform/message_box_style.h"
#include "runtime/text.h"

namespace vtx {

namespace {

constexpr const char* kMessageLogVariable = "VTX_MESSAGE_LOG";
// The title Windows shows for a box given none: the add-in's name.
constexpr const char* kUntitledCaption = "VTX_HA";

std::wstring Wide(std::string_view utf8) {
  const std::u16string wide = text::ToUtf16(utf8);
  return std::wstring(wide.begin(), wide.end());
}

// Text from an ANSI Win32 call, in the system's code page, as UTF-8.
std::string FromAnsi(const char* ansi) {
  const int length = MultiByteToWideChar(CP_ACP, 0, ansi, -1, nullptr, 0);
  if (length <= 1) return {};
  std::vector<wchar_t> wide(static_cast<size_t>(length));
  MultiByteToWideChar(CP_ACP, 0, ansi, -1, wide.data(), length);
  return text::ToUtf8(std::u16string(wide.begin(), wide.end() - 1));
}

// Keeps one record on one line: line breaks and tabs are written escaped.
std::string OneLine(std::string_view value) {
  std::string line;
  for (char c : value) {
    switch (c) {
      case '\r':
        line += "\\r";
        break;
      case '\n':
        line += "\\n";
        break;
      case '\t':
        line += "\\t";
        break;
      default:
        line += c;
    }
  }
  return line;
}

std::optional<std::string> EnvironmentValue(const std::string& name) {
  if (name.empty()) return std::nullopt;
  const std::wstring wide_name = Wide(name);
  std::vector<wchar_t> buffer(256);
  for (;;) {
    SetLastError(ERROR_SUCCESS);
    const DWORD length = GetEnvironmentVariableW(wide_name.c_str(), buffer.data(),
                                                 static_cast<DWORD>(buffer.size()));
    if (length == 0) {
      if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::string();
    }
    if (length < buffer.size())
      return text::ToUtf8(std::u16string(buffer.begin(), buffer.begin() + length));
    buffer.resize(length);
  }
}

bool AppendToLog(const std::string& record) {
  const std::optional<std::string> path = EnvironmentValue(kMessageLogVariable);
  if (!path || path->empty()) return false;
  FILE* file = _wfopen(Wide(*path).c_str(), L"ab");
  if (!file) return false;
  const std::string line = record + "\n";
  std::fwrite(line.data(), 1, line.size(), file);
  std::fclose(file);
  return true;
}

}  // namespace

std::string WindowsPlatform::GetComputerName() {
  char buffer[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof buffer;
  if (!GetComputerNameA(buffer, &size)) return {};
  return FromAnsi(buffer);
}

std::string WindowsPlatform::GetUserName() {
  std::vector<char> buffer(257);
  DWORD size = static_cast<DWORD>(buffer.size());
  if (!GetUserNameA(buffer.data(), &size)) {
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return {};
    buffer.resize(size);
    if (!GetUserNameA(buffer.data(), &size)) return {};
  }
  return FromAnsi(buffer.data());
}

std::optional<std::string> WindowsPlatform::GetEnvironmentVariable(const std::string& name) {
  return EnvironmentValue(name);
}

int32_t WindowsPlatform::MessageBox(const std::string& text, int32_t style,
                                    const std::optional<std::string>& title) {
  const std::string caption = title ? *title : kUntitledCaption;
  if (AppendToLog("box\t" + std::to_string(style) + "\t" + OneLine(caption) + "\t" + OneLine(text)))
    return message_box::DefaultButton(style);
  // A box without an owner window: the host's window is not known here.
  return MessageBoxW(nullptr, Wide(text).c_str(), Wide(caption).c_str(), static_cast<UINT>(style));
}

DialogAction WindowsPlatform::AskDialog(const DialogSnapshot& dialog) {
  std::string lines;
  for (const std::string& line : dialog.lines) lines += (lines.empty() ? "" : "|") + OneLine(line);
  if (AppendToLog("dialog\t" + OneLine(dialog.caption) + "\t" + lines)) return DialogAction{};
  return com::RunTemplateDialog(dialog);
}

double WindowsPlatform::Now() { return LocalNowAsOleDate(); }

Ref<Dispatch> WindowsPlatform::CreateObject(const std::string& prog_id) {
  CLSID clsid{};
  const std::wstring wide = Wide(prog_id);
  IDispatch* object = nullptr;
  if (FAILED(CLSIDFromProgID(wide.c_str(), &clsid)) ||
      FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                              IID_IDispatch, reinterpret_cast<void**>(&object))))
    Raise(err::kCannotCreateObject);
  Ref<Dispatch> created = com::ImportObject(object);
  object->Release();
  return created;
}

Platform& MachinePlatform() {
  static WindowsPlatform machine;
  return machine;
}

}  // namespace vtx
