#pragma once

#include "com/windows_api.h"

#include "com/object_bridge.h"
#include "runtime/variant.h"

namespace vtx::com {

// Automation VARIANTs to and from the add-in's Variant. Object references
// cross through `objects`: the add-in's side unless a caller names another.
// Thread-safety: apartment model (objects are imported and exported).

// The value of `value`, following by-reference forms. Numeric types the
// add-in has no Variant type for become 32-bit integers when they fit and
// doubles otherwise; VT_ERROR DISP_E_PARAMNOTFOUND is an omitted argument;
// one-dimensional arrays become arrays of Variants (lower bound 0).
// Raises 13 for what has no Variant form (records, multi-dimensional arrays).
Variant FromVariant(const VARIANT& value, const ObjectBridge& objects = kAddInObjects);

// Writes `value` into `out`, which holds nothing the caller still owns
// (VT_EMPTY or uninitialised); the caller clears `out` with VariantClear.
void ToVariant(const Variant& value, VARIANT& out, const ObjectBridge& objects = kAddInObjects);

// Writes `value` back through the by-reference VARIANT `target` (VT_BYREF
// set), converted to the type it points at and releasing what it held.
// Raises 13 when `value` cannot take that type.
void WriteByRef(const Variant& value, VARIANT& target, const ObjectBridge& objects = kAddInObjects);

// One VARIANT owned for a scope.
struct VariantHolder {
  VARIANT value;
  VariantHolder() { VariantInit(&value); }
  ~VariantHolder() { VariantClear(&value); }
  VariantHolder(const VariantHolder&) = delete;
  VariantHolder& operator=(const VariantHolder&) = delete;
};

}  // namespace vtx::com
