#include "nls/translation.h"

#include <array>
#include <cstddef>

#include "nls/cls_nls.h"
#include "runtime/runtime_error.h"

namespace vtx::translation {

namespace {

constexpr const char* kControls = "orbent.solutions.NLS.Controls.VT9";
constexpr const char* kErrors = "orbent.solutions.NLS.Errors.VT9";

struct TextDefinition {
  const char* key;
  const char* english;
  const char* name_space;
  const char* appendix;
};

// Loading order matters: the seven controls first, then the three errors;
// the dialog caption last, loaded only when a settings object is created.
constexpr std::array<TextDefinition, 11> kTable = {{
    {"Common.Button.MoveUp", "Move Up", kControls, "CONTROLS"},
    {"Common.Button.MoveDwn", "Move Down", kControls, "CONTROLS"},
    {"Common.Button.ApplyChanges", "Apply Changes", kControls, "CONTROLS"},
    {"Common.Button.EdtProfCard", "Edit Profile Card", kControls, "CONTROLS"},
    {"Common.Button.Close", "Close", kControls, "CONTROLS"},
    {"Common.Button.OK", "OK", kControls, "CONTROLS"},
    {"Common.Button.Cancel", "Cancel", kControls, "CONTROLS"},
    {"Common.Errors.ErrInFunc", "Error in function \"{0}\" !", kErrors, "ERRORS"},
    {"Common.Errors.MsgTitleKR", "KORVEL", kErrors, "ERRORS"},
    {"Common.Errors.MsgTitleWarning", "WARNING", kErrors, "ERRORS"},
    {"frmTemplates.Caption", "Select a template", kControls, "CONTROLS"},
}};

constexpr std::size_t kStartUpEntries = 10;
constexpr std::size_t kTemplateCaption = 10;

struct Entry {
  std::string key;
  std::string text;
};

// This thread's texts and its one translator, kept for the thread's lifetime.
struct ThreadTexts {
  std::array<Entry, kTable.size()> entries;
  Ref<clsNLS> translator;
};

ThreadTexts& Texts() {
  thread_local ThreadTexts texts;
  return texts;
}

void SetDefault(std::size_t index) {
  Entry& entry = Texts().entries[index];
  entry.key = kTable[index].key;
  entry.text = kTable[index].english;
}

void Translate(std::size_t index) {
  ThreadTexts& texts = Texts();
  if (!texts.translator) texts.translator = MakeRef<clsNLS>();
  Entry& entry = texts.entries[index];
  entry.text = texts.translator->GetTranslation(kTable[index].name_space, entry.key,
                                                kTable[index].appendix, entry.text);
}

// Runs `step` over [first, last); an error stops it and leaves the texts
// already done as they are.
template <class Step>
bool ForEntries(std::size_t first, std::size_t last, Step step) {
  try {
    for (std::size_t i = first; i < last; ++i) step(i);
    return true;
  } catch (const RuntimeError&) {
    return false;
  }
}

}  // namespace

bool SetDefaultTexts() { return ForEntries(0, kStartUpEntries, SetDefault); }

bool LoadTranslations() { return ForEntries(0, kStartUpEntries, Translate); }

bool SetTemplateCaption() { return ForEntries(kTemplateCaption, kTemplateCaption + 1, SetDefault); }

bool TranslateTemplateCaption() {
  return ForEntries(kTemplateCaption, kTemplateCaption + 1, Translate);
}

std::string Text(std::string_view key) {
  for (const Entry& entry : Texts().entries) {
    if (!entry.key.empty() && entry.key == key) return entry.text;
  }
  return {};
}

}  // namespace vtx::translation
