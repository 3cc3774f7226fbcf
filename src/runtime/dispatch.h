#pragma once

#include <string>
#include <string_view>
#include <typeinfo>
#include <vector>

#include "runtime/variant.h"

namespace vtx {

enum class InvokeKind { kMethod, kPropertyGet, kPropertyPut };

// Base of every object the add-in and the host hand each other: the portable
// counterpart of IDispatch. Typed interfaces derive from it; late-bound calls
// by name go through Invoke.
//
// Objects are shared through Ref (reference-counted); Nothing is an empty Ref.
// An object is used on the thread that created it (apartment model).
class Dispatch : public std::enable_shared_from_this<Dispatch> {
 public:
  virtual ~Dispatch() = default;

  // Late-bound call by name. `args` are passed by reference: a callee may
  // write into them and the caller sees the new values.
  // Default: raises 438 (object doesn't support this property or method).
  virtual Variant Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args);

  // The default property (dispatch id 0). Default: raises 438.
  virtual Variant GetDefaultValue();

  // Name of the interface or class, for traces and messages.
  virtual std::string_view GetTypeName() const { return "Object"; }

  // This object seen through the interface `type` it does not derive from, or
  // Nothing. An object reached only by late binding (a COM object of the host)
  // answers with a typed view that calls it by name. Default: Nothing.
  virtual Ref<Dispatch> AdaptTo(const std::type_info& type);

  // Convenience forms of Invoke.
  Variant CallMethod(std::string_view name, std::vector<Variant>& args) {
    return Invoke(name, InvokeKind::kMethod, args);
  }
  Variant GetProperty(std::string_view name);
  void PutProperty(std::string_view name, Variant value);
};

// Cast of an object reference to an interface: Nothing stays Nothing, an object
// that neither implements T nor adapts to it raises 13 (type mismatch).
template <class T>
Ref<T> CastTo(const Ref<Dispatch>& object) {
  if (!object) return nullptr;
  auto typed = std::dynamic_pointer_cast<T>(object.shared());
  if (!typed) typed = std::dynamic_pointer_cast<T>(object->AdaptTo(typeid(T)).shared());
  if (!typed) Raise(err::kTypeMismatch);
  return Ref<T>(std::move(typed));
}

template <class T>
Ref<T> Variant::ToObjectAs() const {
  return CastTo<T>(ToObject());
}

}  // namespace vtx
