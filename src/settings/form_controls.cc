#include "settings/form_controls.h"

#include <utility>

#include "runtime/text.h"

namespace vtx {

namespace {

constexpr int32_t kInvalidPropertyValue = 380;
constexpr int32_t kInvalidPropertyArrayIndex = 381;

bool Is(std::string_view name, std::string_view expected) {
  return text::UCase(name) == text::UCase(expected);
}

// The single value of a property write.
const Variant& PutValue(std::vector<Variant>& args) {
  if (args.size() != 1) Raise(450, "Wrong number of arguments or invalid property assignment");
  return args[0];
}

}  // namespace

FormControl::FormControl(std::string name, ControlGeometry geometry, int16_t tab_index,
                         int16_t index)
    : name_(std::move(name)), geometry_(geometry), tab_index_(tab_index), index_(index) {}

Variant FormControl::Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) {
  if (kind == InvokeKind::kPropertyPut) {
    // Font takes a font name here: the name is all the add-in ever sets.
    if (Is(name, "Font") || Is(name, "FontName")) {
      font_name_ = PutValue(args).ToString();
      return Variant();
    }
    if (Is(name, "Caption")) {
      caption_ = PutValue(args).ToString();
      return Variant();
    }
    return Dispatch::Invoke(name, kind, args);
  }
  if (Is(name, "Name")) return Variant(name_);
  if (Is(name, "Caption")) return Variant(caption_);
  if (Is(name, "FontName") || Is(name, "Font")) return Variant(font_name_);
  if (Is(name, "Left")) return Variant(geometry_.left);
  if (Is(name, "Top")) return Variant(geometry_.top);
  if (Is(name, "Width")) return Variant(geometry_.width);
  if (Is(name, "Height")) return Variant(geometry_.height);
  if (Is(name, "TabIndex")) return Variant(tab_index_);
  if (Is(name, "Index")) {
    if (index_ < 0) Raise(343, "Object not an array");
    return Variant(index_);
  }
  return Dispatch::Invoke(name, kind, args);
}

void ListBoxControl::Clear() {
  items_.clear();
  list_index_ = -1;
}

void ListBoxControl::SetListIndex(int32_t index) {
  if (index < -1 || index >= ListCount()) Raise(kInvalidPropertyValue, "Invalid property value");
  list_index_ = index;
}

const std::string& ListBoxControl::List(int32_t index) const {
  if (index < 0 || index >= ListCount())
    Raise(kInvalidPropertyArrayIndex, "Invalid property array index");
  return items_[index];
}

Variant ListBoxControl::Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) {
  if (Is(name, "ListIndex")) {
    if (kind == InvokeKind::kPropertyPut) {
      SetListIndex(PutValue(args).ToInt32());
      return Variant();
    }
    return Variant(list_index_);
  }
  if (kind == InvokeKind::kPropertyPut) return FormControl::Invoke(name, kind, args);
  if (Is(name, "AddItem") && args.size() == 1) {
    AddItem(args[0].ToString());
    return Variant();
  }
  if (Is(name, "Clear") && args.empty()) {
    Clear();
    return Variant();
  }
  if (Is(name, "ListCount")) return Variant(ListCount());
  if (Is(name, "List") && args.size() == 1) return Variant(List(args[0].ToInt32()));
  if (Is(name, "Text")) return Variant(list_index_ < 0 ? std::string() : items_[list_index_]);
  return FormControl::Invoke(name, kind, args);
}

Variant FormControls::Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) {
  if (kind != InvokeKind::kPropertyPut) {
    if (Is(name, "Count") && args.empty()) return Variant(static_cast<int32_t>(controls_.size()));
    if (Is(name, "Item") && args.size() == 1) {
      const int32_t index = args[0].ToInt32();
      if (index < 0 || index >= static_cast<int32_t>(controls_.size()))
        Raise(err::kSubscriptOutOfRange);
      return Variant(controls_[index]);
    }
  }
  return Dispatch::Invoke(name, kind, args);
}

}  // namespace vtx
