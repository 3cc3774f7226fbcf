#include "runtime/dispatch.h"

namespace vtx {

Variant Dispatch::Invoke(std::string_view, InvokeKind, std::vector<Variant>&) {
  Raise(err::kNotSupported);
}

Variant Dispatch::GetDefaultValue() { Raise(err::kNotSupported); }

Ref<Dispatch> Dispatch::AdaptTo(const std::type_info&) { return nullptr; }

Variant Dispatch::GetProperty(std::string_view name) {
  std::vector<Variant> args;
  return Invoke(name, InvokeKind::kPropertyGet, args);
}

void Dispatch::PutProperty(std::string_view name, Variant value) {
  std::vector<Variant> args{std::move(value)};
  Invoke(name, InvokeKind::kPropertyPut, args);
}

}  // namespace vtx
