#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "runtime/dispatch.h"

namespace vtx {

// What a modal dialog shows, handed to the presenter each time it waits for
// the user.
struct DialogSnapshot {
  std::string name;  // "frmTemplates"
  std::string caption;
  std::vector<std::string> lines;    // list box lines
  std::vector<std::string> buttons;  // button captions, in tab order
  std::string font;
  int32_t selected = -1;  // selected line, -1 for none
  bool again = false;     // a further click within the same showing
};

// One user action on a modal dialog.
struct DialogAction {
  enum class Kind { kSelectAndOk, kOk, kCancel };
  Kind kind = Kind::kCancel;
  int32_t line = -1;  // for kSelectAndOk
};

// Every operating-system service the add-in uses, behind one interface, so a
// front end or a test chooses where they go. Implementations: PosixPlatform
// (the real machine, Windows paths mapped onto folders) and ScriptedPlatform
// (everything given by a script and recorded).
//
// Thread-safety: an implementation is used from the thread that installed it.
class Platform {
 public:
  virtual ~Platform() = default;

  // The platform the add-in uses. Never null: the real machine by default.
  static Platform& Current();
  // Installs `platform` (not owned; null restores the default) and returns the
  // previous one.
  static Platform* SetCurrent(Platform* platform);

  // GetComputerNameA / GetUserNameA: the names in full; the callers apply the
  // buffer sizes they pass. Empty when the call fails.
  virtual std::string GetComputerName() = 0;
  virtual std::string GetUserName() = 0;
  // Environ(name): nullopt when the variable is not set.
  virtual std::optional<std::string> GetEnvironmentVariable(const std::string& name) = 0;
  // A modal message box; returns the button pressed (1 = OK). A box given no
  // title has `title` nullopt.
  virtual int32_t MessageBox(const std::string& text, int32_t style,
                             const std::optional<std::string>& title) = 0;
  // Waits for the user's next action on a modal dialog.
  virtual DialogAction AskDialog(const DialogSnapshot& dialog) = 0;
  // Local date and time, as an OLE date.
  virtual double Now() = 0;
  // CreateObject(ProgID): raises 429 when no class is registered for it.
  virtual Ref<Dispatch> CreateObject(const std::string& prog_id) = 0;
};

// Installs a platform for the lifetime of the scope.
class ScopedPlatform {
 public:
  explicit ScopedPlatform(Platform* platform) : previous_(Platform::SetCurrent(platform)) {}
  ~ScopedPlatform() { Platform::SetCurrent(previous_); }
  ScopedPlatform(const ScopedPlatform&) = delete;
  ScopedPlatform& operator=(const ScopedPlatform&) = delete;

 private:
  Platform* previous_;
};

}  // namespace vtx
