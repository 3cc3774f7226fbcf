#pragma once

#include "platform/platform.h"

namespace vtx::com {

// Shows `dialog` as a real modal Windows dialog (its caption, a list box
// with its lines and its two buttons, in its font, laid out as the form's
// twips give it at the screen's resolution) and returns the user's action: a
// line selected and OK, OK without a selection, or Cancel (also the close box
// and Escape). A double click on a line is no answer: only the buttons are.
// Blocks the calling thread until the user answers.
DialogAction RunTemplateDialog(const DialogSnapshot& dialog);

}  // namespace vtx::com
