#pragma once

#include <string_view>
#include <utility>
#include <vector>

#include "com/foreign_object.h"

namespace vtx::com {

// Base of the typed views of host objects: implements `Interface` (one of the
// host interfaces of src/host, or another the add-in calls) by calling the
// COM object by the name of each operation. Arguments go by value; results
// come back converted to the interface's types, a Nothing result as Nothing
// whether the host answers with an empty object, Null or Empty.
// Thread-safety: apartment model, as ForeignObject.
template <class Interface>
class TypedProxy : public Interface, public ForeignObject {
 public:
  explicit TypedProxy(IDispatch* object) : ForeignObject(object) {}

  Variant Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) override {
    return CallByName(name, kind, args, Passing::kByReference);
  }
  Variant GetDefaultValue() override { return DefaultValue(); }
  Ref<Dispatch> AdaptTo(const std::type_info& type) override {
    return AdaptForeign(Pointer(), type);
  }

 protected:
  template <class... Args>
  Variant Call(std::string_view name, Args&&... args) {
    std::vector<Variant> list{Variant(std::forward<Args>(args))...};
    return CallByName(name, InvokeKind::kMethod, list, Passing::kByValue);
  }
  template <class T, class... Args>
  Ref<T> CallForObject(std::string_view name, Args&&... args) {
    const Variant result = Call(name, std::forward<Args>(args)...);
    if (result.IsNull() || result.IsEmpty()) return nullptr;
    return result.ToObjectAs<T>();
  }
};

}  // namespace vtx::com
