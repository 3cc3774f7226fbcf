#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <vector>

#include "emulator/session/environment.h"
#include "emulator/store/store.h"

namespace vtx::emu {

// One KvIntegrationEditor.EditObject: `values` are written into the edited
// object, then `result` is what EditObject returns.
struct EditorAnswer {
  bool result = false;
  Values values;
};

// The user's answers to the host's own interactive parts, consumed in order:
// the integration editor and the selection in modal views. (The template
// dialog belongs to the add-in and is answered by the platform.)
//
// Running out is a fault of the script, not of the add-in: the Next* call
// raises a RuntimeError saying which answer is missing, and
// AnswerWasMissing() stays true so the caller can fail the run even when the
// add-in swallowed the error.
// Thread-safety: none; used on the host's thread.
class ScriptedAnswers {
 public:
  void AddEditorAnswer(EditorAnswer answer) { editor_.push_back(std::move(answer)); }
  void AddModalViewAnswer(std::optional<ObjectKey> answer) { modal_.push_back(std::move(answer)); }

  EditorAnswer NextEditorAnswer();
  // The object the user selects in the next modal view; nullopt: none.
  std::optional<ObjectKey> NextModalViewAnswer();

  // True once an answer was missing or could not be used.
  bool AnswerWasMissing() const { return missing_; }
  // Records that an answer could not be used (it named an object the view
  // does not show, for instance).
  void NoteUnusableAnswer() { missing_ = true; }

 private:
  std::deque<EditorAnswer> editor_;
  std::deque<std::optional<ObjectKey>> modal_;
  bool missing_ = false;
};

}  // namespace vtx::emu
