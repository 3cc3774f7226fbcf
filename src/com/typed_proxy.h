#pragma once

#include <algorithm>
#include <array>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "com/com_variant.h"
#include "com/declared_types.h"
#include "com/foreign_object.h"

namespace vtx::com {

// One argument of a call to the host, as the COM type its declaration gives
// it: a VARIANT of that type (VT_I2, VT_BOOL, VT_DISPATCH, ...), or for an
// argument by reference one that points at a value of that type
// (VT_BYREF | VT_I2, VT_BYREF | VT_DISPATCH, VT_BYREF | VT_VARIANT), whose new
// value WriteBack hands to the caller.
template <class Tag>
class OutgoingArgument {
 public:
  explicit OutgoingArgument(comtype::Param<Tag> value) { Hold(value, held_.value); }
  VARIANT Passed() const { return held_.value; }
  void WriteBack() {}

  // Writes `value` into `holder` (empty) as a VARIANT of the declared type.
  static void Hold(comtype::Param<Tag> value, VARIANT& holder) {
    if constexpr (std::is_same_v<Tag, comtype::Var>) {
      ToVariant(value, holder);
    } else {
      Declared<Tag>::Set(value, *Declared<Tag>::In(holder), kAddInObjects);
      V_VT(&holder) = Declared<Tag>::kVarType;
    }
  }

 private:
  VariantHolder held_;
};

template <class X>
class OutgoingArgument<comtype::ByRef<X>> {
 public:
  explicit OutgoingArgument(typename X::Value& target) : target_(target) {
    OutgoingArgument<X>::Hold(target, held_.value);
    V_VT(&reference_) = VT_BYREF | Declared<X>::kVarType;
    V_BYREF(&reference_) = Declared<X>::In(held_.value);
  }
  VARIANT Passed() const { return reference_; }
  void WriteBack();

 private:
  typename X::Value& target_;
  VariantHolder held_;
  VARIANT reference_;
};

// The C++ value of a result (or of an argument written back) declared `Tag`,
// converted from whatever VARIANT the host gave: a Nothing object may come as
// an empty object, Null or Empty.
template <class Tag>
comtype::Result<Tag> ValueAs(const VARIANT& value) {
  if constexpr (std::is_same_v<Tag, comtype::Void>) {
    return;
  } else {
    const Variant converted = FromVariant(value);
    if constexpr (std::is_same_v<Tag, comtype::I2>) {
      return converted.ToInt16();
    } else if constexpr (std::is_same_v<Tag, comtype::I4>) {
      return converted.ToInt32();
    } else if constexpr (std::is_same_v<Tag, comtype::R8>) {
      return converted.ToDouble();
    } else if constexpr (std::is_same_v<Tag, comtype::Bool>) {
      return converted.ToBool();
    } else if constexpr (std::is_same_v<Tag, comtype::Bstr>) {
      return converted.ToString();
    } else if constexpr (std::is_same_v<Tag, comtype::Var>) {
      return converted;
    } else {
      if (converted.IsNull() || converted.IsEmpty()) return nullptr;
      return converted.ToObjectAs<typename Tag::Interface>();
    }
  }
}

template <class X>
void OutgoingArgument<comtype::ByRef<X>>::WriteBack() {
  target_ = ValueAs<X>(held_.value);
}

// Base of the typed views of host objects: implements `Interface` (a host
// interface of src/host, or the file-system object) by calling the COM
// object by the name of each operation, each argument as the COM type the
// operation's declaration gives it. Late-bound calls (Invoke) pass their
// Variants by reference, as a script does.
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
  // Calls the operation `name` declared with result `Result` and parameters
  // `Params`; arguments by reference take their new values once it returned.
  template <class Result, class... Params>
  comtype::Result<Result> CallDeclared(std::string_view name, comtype::Param<Params>... args) {
    std::tuple<OutgoingArgument<Params>...> passed{args...};
    VariantHolder result;
    std::apply(
        [&](auto&... argument) {
          // Invoke takes the arguments last to first.
          std::array<VARIANT, sizeof...(Params)> list{argument.Passed()...};
          std::reverse(list.begin(), list.end());
          CallWith(name, list.data(), static_cast<UINT>(list.size()), result.value);
          (argument.WriteBack(), ...);
        },
        passed);
    return ValueAs<Result>(result.value);
  }
};

}  // namespace vtx::com
