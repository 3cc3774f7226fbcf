#include "platform/posix_platform.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "platform/class_registry.h"
#include "platform/host_name.h"
#include "platform/local_clock.h"
#include "platform/logon_name.h"
#include "platform/message_box_style.h"
#include "runtime/text.h"

extern char** environ;

namespace vtx {

namespace {

constexpr const char* kFileSystemObjectProgId = "Scripting.FileSystemObject";
// A Windows computer name as GetComputerNameA reports it is at most this long.
constexpr size_t kNetBiosNameLength = 15;

std::filesystem::path DefaultDriveRoot() {
  std::error_code ec;
  std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
  if (ec) temp = "/tmp";
  return temp / "vtx_drives";
}

}  // namespace

PosixPlatform::PosixPlatform()
    : PosixPlatform(std::make_shared<WindowsPaths>(DefaultDriveRoot())) {}

PosixPlatform::PosixPlatform(std::shared_ptr<WindowsPaths> paths) : paths_(std::move(paths)) {}

PosixPlatform::~PosixPlatform() = default;

void PosixPlatform::SetPresenter(Presenter* presenter) { presenter_ = presenter; }

std::string PosixPlatform::GetComputerName() {
  // Windows reports the short, upper-case NetBIOS form of the name.
  std::string name = HostName();
  name = name.substr(0, name.find('.'));
  if (name.size() > kNetBiosNameLength) name.resize(kNetBiosNameLength);
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name;
}

std::string PosixPlatform::GetUserName() { return LogonName(); }

std::optional<std::string> PosixPlatform::GetEnvironmentVariable(const std::string& name) {
  if (name.empty()) return std::nullopt;
  if (const char* value = std::getenv(name.c_str())) return std::string(value);
  // Windows variable names ignore letter case.
  for (char** entry = environ; entry && *entry; ++entry) {
    std::string_view text(*entry);
    size_t eq = text.find('=');
    if (eq != std::string_view::npos && text::SameNoCase(text.substr(0, eq), name))
      return std::string(text.substr(eq + 1));
  }
  return std::nullopt;
}

int32_t PosixPlatform::MessageBox(const std::string& text, int32_t style,
                                  const std::optional<std::string>& title) {
  if (presenter_) return presenter_->ShowMessage(text, style, title);
  // Nobody to ask: the box is left on standard error and answered as Enter
  // would answer it.
  std::cerr << title.value_or("VTX_HA") << ": " << text << '\n';
  return message_box::DefaultButton(style);
}

DialogAction PosixPlatform::AskDialog(const DialogSnapshot& dialog) {
  if (presenter_) return presenter_->Ask(dialog);
  return DialogAction{};  // cancelled: nobody to ask
}

double PosixPlatform::Now() { return LocalNowAsOleDate(); }

Platform& MachinePlatform() {
  static PosixPlatform machine;
  return machine;
}

Ref<Dispatch> PosixPlatform::CreateObject(const std::string& prog_id) {
  if (text::SameNoCase(prog_id, kFileSystemObjectProgId))
    return MakeRef<MappedFileSystemObject>(paths_, observer_);
  return ClassRegistry::Global().Create(prog_id);
}

}  // namespace vtx
