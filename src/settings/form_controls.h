#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/dispatch.h"

namespace vtx {

// Position and size of a control, in twips.
struct ControlGeometry {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
};

// A control of one of the add-in's forms, reachable late-bound by name
// (Name, Caption, FontName, Font, Left, Top, Width, Height, TabIndex, Index)
// so that helpers written against any form, such as SetFont, work on it.
// Thread-safety: used on the thread of its form.
class FormControl : public Dispatch {
 public:
  // `index` is the element number in a control array, -1 for a lone control.
  FormControl(std::string name, ControlGeometry geometry, int16_t tab_index, int16_t index = -1);

  const std::string& Name() const { return name_; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption) { caption_ = std::move(caption); }
  const std::string& FontName() const { return font_name_; }
  int16_t TabIndex() const { return tab_index_; }

  Variant Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) override;
  std::string_view GetTypeName() const override { return "Control"; }

 private:
  std::string name_;
  std::string caption_;
  std::string font_name_ = "MS Sans Serif";
  ControlGeometry geometry_;
  int16_t tab_index_;
  int16_t index_;
};

// A single-selection list box. Late-bound: AddItem, Clear,
// ListIndex, ListCount, List(i), Text, besides the control properties.
class ListBoxControl : public FormControl {
 public:
  using FormControl::FormControl;

  void AddItem(std::string item) { items_.push_back(std::move(item)); }
  // Also unselects.
  void Clear();
  const std::vector<std::string>& Items() const { return items_; }
  int32_t ListCount() const { return static_cast<int32_t>(items_.size()); }
  // -1 when no line is selected.
  int32_t ListIndex() const { return list_index_; }
  // REQUIRES -1 <= index < ListCount(); raises 380 (invalid property value)
  // otherwise, leaving the selection as it was.
  void SetListIndex(int32_t index);
  // Line `index`; raises 381 (invalid property array index) out of range.
  const std::string& List(int32_t index) const;

  Variant Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) override;
  std::string_view GetTypeName() const override { return "ListBox"; }

 private:
  std::vector<std::string> items_;
  int32_t list_index_ = -1;
};

// A form's Controls collection: Count and Item(i) from 0, in creation order.
class FormControls : public Dispatch {
 public:
  explicit FormControls(std::vector<Ref<FormControl>> controls) : controls_(std::move(controls)) {}
  Variant Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) override;
  std::string_view GetTypeName() const override { return "Controls"; }

 private:
  std::vector<Ref<FormControl>> controls_;
};

}  // namespace vtx
