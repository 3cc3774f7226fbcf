#pragma once

#include "com/windows_api.h"

#include <cstdint>
#include <string>

#include "com/com_string.h"
#include "com/com_variant.h"
#include "com/object_bridge.h"
#include "host/com_types.h"

namespace vtx::com {

// How COM holds a value of each type a host operation declares
// (host/com_types.h): the C type of a vtable argument (ComType), the
// VARTYPE of a VARIANT holding it, where in a VARIANT it lives, and the
// conversions from and to the C++ type of the add-in's interfaces. Object
// references cross through `objects`, the side that receives or hands out.
// Thread-safety: apartment model, as the objects converted.
//
//   From(com, objects)         the C++ value of `com` (not consumed)
//   Set(value, slot, objects)  writes `value` into `slot`, which owns nothing
//   Free(slot)                 releases what `slot` owns
template <class Tag>
struct Declared;

template <>
struct Declared<comtype::I2> {
  using ComType = short;
  static constexpr VARTYPE kVarType = VT_I2;
  static ComType* In(VARIANT& holder) { return &V_I2(&holder); }
  static int16_t From(ComType value, const ObjectBridge&) { return value; }
  static void Set(int16_t value, ComType& slot, const ObjectBridge&) { slot = value; }
  static void Free(ComType&) {}
};

template <>
struct Declared<comtype::I4> {
  using ComType = LONG;
  static constexpr VARTYPE kVarType = VT_I4;
  static ComType* In(VARIANT& holder) { return &V_I4(&holder); }
  static int32_t From(ComType value, const ObjectBridge&) { return value; }
  static void Set(int32_t value, ComType& slot, const ObjectBridge&) { slot = value; }
  static void Free(ComType&) {}
};

template <>
struct Declared<comtype::R8> {
  using ComType = double;
  static constexpr VARTYPE kVarType = VT_R8;
  static ComType* In(VARIANT& holder) { return &V_R8(&holder); }
  static double From(ComType value, const ObjectBridge&) { return value; }
  static void Set(double value, ComType& slot, const ObjectBridge&) { slot = value; }
  static void Free(ComType&) {}
};

template <>
struct Declared<comtype::Bool> {
  using ComType = VARIANT_BOOL;
  static constexpr VARTYPE kVarType = VT_BOOL;
  static ComType* In(VARIANT& holder) { return &V_BOOL(&holder); }
  static bool From(ComType value, const ObjectBridge&) { return value != VARIANT_FALSE; }
  static void Set(bool value, ComType& slot, const ObjectBridge&) {
    slot = value ? VARIANT_TRUE : VARIANT_FALSE;
  }
  static void Free(ComType&) {}
};

template <>
struct Declared<comtype::Bstr> {
  using ComType = BSTR;
  static constexpr VARTYPE kVarType = VT_BSTR;
  static ComType* In(VARIANT& holder) { return &V_BSTR(&holder); }
  static std::string From(ComType value, const ObjectBridge&) { return FromBstr(value); }
  static void Set(const std::string& value, ComType& slot, const ObjectBridge&) {
    slot = NewBstr(value);
  }
  static void Free(ComType& slot) {
    SysFreeString(slot);
    slot = nullptr;
  }
};

template <>
struct Declared<comtype::Var> {
  using ComType = VARIANT;
  static constexpr VARTYPE kVarType = VT_VARIANT;
  static ComType* In(VARIANT& holder) { return &holder; }
  static Variant From(const ComType& value, const ObjectBridge& objects) {
    return FromVariant(value, objects);
  }
  static void Set(const Variant& value, ComType& slot, const ObjectBridge& objects) {
    ToVariant(value, slot, objects);
  }
  static void Free(ComType& slot) { VariantClear(&slot); }
};

template <class T>
struct Declared<comtype::Obj<T>> {
  using ComType = IDispatch*;
  static constexpr VARTYPE kVarType = VT_DISPATCH;
  static ComType* In(VARIANT& holder) { return &V_DISPATCH(&holder); }
  // Raises 13 when the object is not a T.
  static Ref<T> From(ComType value, const ObjectBridge& objects) {
    return CastTo<T>(objects.import_object(value));
  }
  static void Set(const Ref<T>& value, ComType& slot, const ObjectBridge& objects) {
    slot = objects.export_object(value);
  }
  static void Free(ComType& slot) {
    if (slot) slot->Release();
    slot = nullptr;
  }
};

// The result of an operation, as the [out, retval] argument of its vtable
// slot.
template <class X>
struct Retval {};

// The C type of a vtable argument declared `Tag` (by reference and for the
// result: a pointer).
template <class Tag>
struct ComArgument {
  using Type = typename Declared<Tag>::ComType;
};
template <class X>
struct ComArgument<comtype::ByRef<X>> {
  using Type = typename Declared<X>::ComType*;
};
template <class X>
struct ComArgument<Retval<X>> {
  using Type = typename Declared<X>::ComType*;
};
template <class Tag>
using ComArg = typename ComArgument<Tag>::Type;

}  // namespace vtx::com
