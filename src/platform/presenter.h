#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/platform.h"

namespace vtx {

// Where the real machine's modal user interface goes: the front end decides
// whether boxes and dialogs appear on a terminal, in a window or nowhere.
// Both calls block the calling thread until the user has answered.
// Thread-safety: used from the thread that runs the add-in's calls.
class Presenter {
 public:
  virtual ~Presenter() = default;

  // Shows a message box; returns the button pressed (1 = OK, as Windows
  // numbers them). `title` is nullopt for a box given no title.
  virtual int32_t ShowMessage(const std::string& text, int32_t style,
                              const std::optional<std::string>& title) = 0;
  // Shows the dialog in its current state and returns the user's next action.
  virtual DialogAction Ask(const DialogSnapshot& dialog) = 0;
};

}  // namespace vtx
