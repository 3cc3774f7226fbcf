#pragma once

#include <string>
#include <string_view>

namespace vtx {

// The text table of the add-in's interface texts: per thread, each entry a
// translation key and its current text (the English default until its
// translation is loaded).
namespace translation {

// Stores the English defaults of the first ten entries (start-up).
bool SetDefaultTexts();
// Replaces the ten start-up texts by their translations, in table order.
bool LoadTranslations();
// Sets "frmTemplates.Caption" to its default, then to its translation
// (creation of a ClsAdminSettings). Returns false if an error interrupted it.
bool SetTemplateCaption();
bool TranslateTemplateCaption();
// The current text of an entry by key ("Common.Button.OK"); "" before it is set.
std::string Text(std::string_view key);

}  // namespace translation
}  // namespace vtx
