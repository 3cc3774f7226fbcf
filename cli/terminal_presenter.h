#pragma once

#include <iostream>

#include "platform/presenter.h"

namespace vtx::cli {

// Presents message boxes and dialogs on a terminal. A box is printed framed,
// with its title (the add-in's name when it has none) and what its style
// means, and answers with its default button without waiting. A dialog lists
// its lines numbered from 1 and reads a line number, "ok" or "cancel"; end of
// input counts as cancel.
// Thread-safety: used on one thread; `in` and `out` are not owned and must
// outlive it.
class TerminalPresenter : public Presenter {
 public:
  explicit TerminalPresenter(std::istream& in = std::cin, std::ostream& out = std::cout);

  int32_t ShowMessage(const std::string& text, int32_t style,
                      const std::optional<std::string>& title) override;
  DialogAction Ask(const DialogSnapshot& dialog) override;

 private:
  std::istream& in_;
  std::ostream& out_;
};

}  // namespace vtx::cli
