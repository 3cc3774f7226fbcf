#include "emulator/session/scripted_answers.h"

#include <utility>

#include "runtime/runtime_error.h"

namespace vtx::emu {

EditorAnswer ScriptedAnswers::NextEditorAnswer() {
  if (editor_.empty()) {
    missing_ = true;
    Raise(err::kHostFailure,
          "An integrationEditor answer is missing: nothing left to answer EditObject", "Korvel");
  }
  EditorAnswer answer = std::move(editor_.front());
  editor_.pop_front();
  return answer;
}

std::optional<ObjectKey> ScriptedAnswers::NextModalViewAnswer() {
  if (modal_.empty()) {
    missing_ = true;
    Raise(err::kHostFailure,
          "A modalViews answer is missing: nothing left to select in the modal view", "Korvel");
  }
  std::optional<ObjectKey> answer = std::move(modal_.front());
  modal_.pop_front();
  return answer;
}

}  // namespace vtx::emu
