#include "settings/frm_templates.h"

#include <optional>

#include "nls/translation.h"
#include "runtime/text.h"
#include "utils/cls_utils.h"

namespace vtx {

namespace {

constexpr int32_t kOkOnly = 0;

bool Is(std::string_view name, std::string_view expected) {
  return text::UCase(name) == text::UCase(expected);
}

}  // namespace

frmTemplates::frmTemplates()
    : list_search_(MakeRef<ListBoxControl>("ListSearch", ControlGeometry{360, 240, 3375, 3375}, 0)),
      button_ok_(MakeRef<FormControl>("ButtonOk", ControlGeometry{360, 3960, 1095, 375}, 1, 0)),
      button_cancel_(
          MakeRef<FormControl>("ButtonCancel", ControlGeometry{2640, 3960, 1095, 375}, 2, 1)),
      controls_(MakeRef<FormControls>(
          std::vector<Ref<FormControl>>{list_search_, button_ok_, button_cancel_})) {
  caption_ = translation::Text("frmTemplates.Caption");
}

Ref<frmTemplates> frmTemplates::Shared() {
  thread_local Ref<frmTemplates> instance;
  if (!instance) instance = MakeRef<frmTemplates>();
  return instance;
}

void frmTemplates::SetTranslationfrmTemplates() {
  clsUtils().SetFont(shared_from_this());
  caption_ = translation::Text("frmTemplates.Caption");
  button_ok_->SetCaption(translation::Text("Common.Button.OK"));
  button_cancel_->SetCaption(translation::Text("Common.Button.Cancel"));
}

DialogSnapshot frmTemplates::Snapshot() const {
  DialogSnapshot snapshot;
  snapshot.name = "frmTemplates";
  snapshot.caption = caption_;
  snapshot.lines = list_search_->Items();
  snapshot.buttons = {button_ok_->Caption(), button_cancel_->Caption()};
  snapshot.font = font_name_;
  snapshot.selected = list_search_->ListIndex();
  return snapshot;
}

void frmTemplates::ShowModal() {
  visible_ = true;
  try {
    for (bool again = false; visible_; again = true) {
      DialogSnapshot snapshot = Snapshot();
      snapshot.again = again;
      const DialogAction action = Platform::Current().AskDialog(snapshot);
      switch (action.kind) {
        case DialogAction::Kind::kSelectAndOk:
          list_search_->SetListIndex(action.line);
          ButtonOk_Click();
          break;
        case DialogAction::Kind::kOk:
          ButtonOk_Click();
          break;
        case DialogAction::Kind::kCancel:
          ButtonCancel_Click();
          break;
      }
    }
  } catch (...) {
    // A dialog that could not be answered is gone for its caller.
    visible_ = false;
    throw;
  }
}

void frmTemplates::ButtonOk_Click() {
  if (list_search_->ListIndex() < 0) {
    Platform::Current().MessageBox("Select a search or Cancel", kOkOnly, std::string("Error"));
    return;
  }
  visible_ = false;
}

void frmTemplates::ButtonCancel_Click() {
  visible_ = false;
  list_search_->SetListIndex(-1);
  list_search_->Clear();
}

Variant frmTemplates::Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) {
  if (kind == InvokeKind::kPropertyPut && args.size() == 1) {
    if (Is(name, "Font") || Is(name, "FontName")) {
      font_name_ = args[0].ToString();
      return Variant();
    }
    if (Is(name, "Caption")) {
      caption_ = args[0].ToString();
      return Variant();
    }
  }
  if (kind != InvokeKind::kPropertyPut && args.empty()) {
    if (Is(name, "Font") || Is(name, "FontName")) return Variant(font_name_);
    if (Is(name, "Caption")) return Variant(caption_);
    if (Is(name, "Visible")) return Variant(visible_);
    if (Is(name, "Controls")) return Variant(controls_);
    if (Is(name, "Name")) return Variant("frmTemplates");
  }
  return Dispatch::Invoke(name, kind, args);
}

}  // namespace vtx
