#pragma once

#include "platform/platform.h"

namespace vtx::com {

// Shows `dialog` as a real modal Windows dialog (its caption, a list box
// with its lines and its two buttons, in its font) and returns the user's
// action: a line selected and OK (or a double click on a line), OK without a
// selection, or Cancel (also the close box and Escape).
// Blocks the calling thread until the user answers.
DialogAction RunTemplateDialog(const DialogSnapshot& dialog);

}  // namespace vtx::com
