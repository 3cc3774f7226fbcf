#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "runtime/dispatch.h"
#include "settings/form_controls.h"

namespace vtx {

// The template-selection dialog: a list of template display names with an OK
// and a Cancel button. One instance per thread, created on first use and kept
// loaded; its users empty it after every use.
//
// Late-bound it offers Font, Caption, Visible and the Controls collection
// (ListSearch, ButtonOk, ButtonCancel), so form helpers such as SetFont work
// on it by name.
// Thread-safety: the instance belongs to the thread that created it.
class frmTemplates : public Dispatch {
 public:
  frmTemplates();

  // This thread's dialog, created on first use.
  static Ref<frmTemplates> Shared();

  ListBoxControl& ListSearch() { return *list_search_; }
  FormControl& ButtonOk() { return *button_ok_; }
  FormControl& ButtonCancel() { return *button_cancel_; }
  const std::string& Caption() const { return caption_; }
  const std::string& FontName() const { return font_name_; }
  bool Visible() const { return visible_; }

  // Applies the interface font and the current texts of the caption and the
  // two buttons.
  void SetTranslationfrmTemplates();

  // Shows the dialog and returns once it is hidden again: each user action
  // the platform reports is applied as the corresponding click.
  void ShowModal();
  // No selection: reminds the user and stays open. Otherwise hides.
  void ButtonOk_Click();
  // Hides and empties the list.
  void ButtonCancel_Click();

  // What the dialog shows right now.
  DialogSnapshot Snapshot() const;

  Variant Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) override;
  std::string_view GetTypeName() const override { return "frmTemplates"; }

 private:
  std::string caption_;
  std::string font_name_ = "MS Sans Serif";
  bool visible_ = false;
  Ref<ListBoxControl> list_search_;
  Ref<FormControl> button_ok_;
  Ref<FormControl> button_cancel_;
  Ref<FormControls> controls_;
};

}  // namespace vtx
