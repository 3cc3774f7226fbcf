#include "com/com_variant.h"

#include <cstdint>
#include <string>

#include "com/com_string.h"

namespace vtx::com {

namespace {

// Numbers of a type the add-in has no Variant type for: integers become a
// 32-bit integer when they fit, everything else a double.
Variant FromOtherNumber(const VARIANT& value) {
  const VARTYPE type = V_VT(&value);
  const bool fractional = type == VT_R4 || type == VT_CY || type == VT_DECIMAL;
  VariantHolder converted;
  VARIANT* source = const_cast<VARIANT*>(&value);
  if (!fractional && SUCCEEDED(VariantChangeType(&converted.value, source, 0, VT_I4)))
    return Variant(static_cast<int32_t>(V_I4(&converted.value)));
  if (SUCCEEDED(VariantChangeType(&converted.value, source, 0, VT_R8)))
    return Variant(V_R8(&converted.value));
  Raise(err::kOverflow);
}

Ref<Dispatch> FromUnknown(IUnknown* unknown, const ObjectBridge& objects) {
  if (!unknown) return nullptr;
  IDispatch* object = nullptr;
  if (FAILED(unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&object))))
    Raise(err::kTypeMismatch);
  Ref<Dispatch> imported = objects.import_object(object);
  object->Release();
  return imported;
}

Variant FromArray(SAFEARRAY* array, const ObjectBridge& objects) {
  if (!array) return Variant(Variant::Array{});
  if (SafeArrayGetDim(array) != 1) Raise(err::kTypeMismatch);
  LONG lower = 0;
  LONG upper = -1;
  VARTYPE element_type = VT_EMPTY;
  if (FAILED(SafeArrayGetLBound(array, 1, &lower)) ||
      FAILED(SafeArrayGetUBound(array, 1, &upper)) ||
      FAILED(SafeArrayGetVartype(array, &element_type)) || element_type == VT_RECORD)
    Raise(err::kTypeMismatch);
  Variant::Array elements;
  for (LONG index = lower; index <= upper; ++index) {
    VariantHolder element;
    // Every element type but VARIANT itself fits the VARIANT's value area;
    // SafeArrayGetElement copies strings and adds references to objects.
    void* target = element_type == VT_VARIANT ? static_cast<void*>(&element.value)
                                              : static_cast<void*>(&V_UI1(&element.value));
    if (FAILED(SafeArrayGetElement(array, &index, target))) Raise(err::kTypeMismatch);
    if (element_type != VT_VARIANT) V_VT(&element.value) = element_type;
    elements.push_back(FromVariant(element.value, objects));
  }
  return Variant(std::move(elements));
}

SAFEARRAY* ToArray(const Variant::Array& elements, const ObjectBridge& objects) {
  SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(elements.size()));
  if (!array) throw std::bad_alloc();
  try {
    for (LONG index = 0; index < static_cast<LONG>(elements.size()); ++index) {
      VariantHolder element;
      ToVariant(elements[static_cast<size_t>(index)], element.value, objects);
      if (FAILED(SafeArrayPutElement(array, &index, &element.value))) throw std::bad_alloc();
    }
  } catch (...) {
    SafeArrayDestroy(array);
    throw;
  }
  return array;
}

// Moves the value of `converted` (of type `type`) into the storage `target`
// points at, releasing what was there. False for a type it cannot store.
bool StoreThroughReference(VARIANT& converted, VARTYPE type, VARIANT& target) {
  switch (type) {
    case VT_BSTR:
      SysFreeString(*V_BSTRREF(&target));
      *V_BSTRREF(&target) = V_BSTR(&converted);
      break;
    case VT_DISPATCH:
      if (*V_DISPATCHREF(&target)) (*V_DISPATCHREF(&target))->Release();
      *V_DISPATCHREF(&target) = V_DISPATCH(&converted);
      break;
    case VT_UNKNOWN:
      if (*V_UNKNOWNREF(&target)) (*V_UNKNOWNREF(&target))->Release();
      *V_UNKNOWNREF(&target) = V_UNKNOWN(&converted);
      break;
    case VT_I1:
      *V_I1REF(&target) = V_I1(&converted);
      return true;
    case VT_UI1:
      *V_UI1REF(&target) = V_UI1(&converted);
      return true;
    case VT_I2:
      *V_I2REF(&target) = V_I2(&converted);
      return true;
    case VT_UI2:
      *V_UI2REF(&target) = V_UI2(&converted);
      return true;
    case VT_I4:
      *V_I4REF(&target) = V_I4(&converted);
      return true;
    case VT_UI4:
      *V_UI4REF(&target) = V_UI4(&converted);
      return true;
    case VT_INT:
      *V_INTREF(&target) = V_INT(&converted);
      return true;
    case VT_UINT:
      *V_UINTREF(&target) = V_UINT(&converted);
      return true;
    case VT_I8:
      *V_I8REF(&target) = V_I8(&converted);
      return true;
    case VT_UI8:
      *V_UI8REF(&target) = V_UI8(&converted);
      return true;
    case VT_R4:
      *V_R4REF(&target) = V_R4(&converted);
      return true;
    case VT_R8:
      *V_R8REF(&target) = V_R8(&converted);
      return true;
    case VT_CY:
      *V_CYREF(&target) = V_CY(&converted);
      return true;
    case VT_DATE:
      *V_DATEREF(&target) = V_DATE(&converted);
      return true;
    case VT_BOOL:
      *V_BOOLREF(&target) = V_BOOL(&converted);
      return true;
    case VT_ERROR:
      *V_ERRORREF(&target) = V_ERROR(&converted);
      return true;
    case VT_DECIMAL:
      *V_DECIMALREF(&target) = V_DECIMAL(&converted);
      return true;
    default:
      return false;
  }
  // Ownership of the string or object moved to the target.
  V_VT(&converted) = VT_EMPTY;
  return true;
}

}  // namespace

Variant FromVariant(const VARIANT& value, const ObjectBridge& objects) {
  const VARTYPE type = V_VT(&value);
  if (type == (VT_BYREF | VT_VARIANT)) return FromVariant(*V_VARIANTREF(&value), objects);
  if (type & VT_ARRAY)
    return FromArray(type & VT_BYREF ? *V_ARRAYREF(&value) : V_ARRAY(&value), objects);
  if (type & VT_BYREF) {
    VariantHolder copy;
    if (FAILED(VariantCopyInd(&copy.value, const_cast<VARIANT*>(&value))))
      Raise(err::kTypeMismatch);
    return FromVariant(copy.value, objects);
  }
  switch (type) {
    case VT_EMPTY:
      return Variant();
    case VT_NULL:
      return Variant::Null();
    case VT_I2:
      return Variant(static_cast<int16_t>(V_I2(&value)));
    case VT_I4:
      return Variant(static_cast<int32_t>(V_I4(&value)));
    case VT_R8:
      return Variant(V_R8(&value));
    case VT_DATE:
      return Variant::Date(V_DATE(&value));
    case VT_BSTR:
      return Variant(FromBstr(V_BSTR(&value)));
    case VT_BOOL:
      return Variant(V_BOOL(&value) != VARIANT_FALSE);
    case VT_DISPATCH:
      return Variant(objects.import_object(V_DISPATCH(&value)));
    case VT_UNKNOWN:
      return Variant(FromUnknown(V_UNKNOWN(&value), objects));
    case VT_ERROR:
      if (V_ERROR(&value) == DISP_E_PARAMNOTFOUND) return Variant::Missing();
      return Variant(static_cast<int32_t>(V_ERROR(&value)));
    case VT_I1:
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_I8:
    case VT_UI8:
    case VT_R4:
    case VT_CY:
    case VT_DECIMAL:
      return FromOtherNumber(value);
    default:
      Raise(err::kTypeMismatch);
  }
}

void ToVariant(const Variant& value, VARIANT& out, const ObjectBridge& objects) {
  VariantInit(&out);
  switch (value.Type()) {
    case VarType::kEmpty:
      break;
    case VarType::kNull:
      V_VT(&out) = VT_NULL;
      break;
    case VarType::kError:
      V_VT(&out) = VT_ERROR;
      V_ERROR(&out) = DISP_E_PARAMNOTFOUND;
      break;
    case VarType::kI2:
      V_VT(&out) = VT_I2;
      V_I2(&out) = value.AsI2();
      break;
    case VarType::kI4:
      V_VT(&out) = VT_I4;
      V_I4(&out) = value.AsI4();
      break;
    case VarType::kR8:
      V_VT(&out) = VT_R8;
      V_R8(&out) = value.AsR8();
      break;
    case VarType::kDate:
      V_VT(&out) = VT_DATE;
      V_DATE(&out) = value.AsDate();
      break;
    case VarType::kString:
      V_BSTR(&out) = NewBstr(value.AsString());
      V_VT(&out) = VT_BSTR;
      break;
    case VarType::kBool:
      V_VT(&out) = VT_BOOL;
      V_BOOL(&out) = value.AsBool() ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    case VarType::kObject:
      V_DISPATCH(&out) = objects.export_object(value.AsObject());
      V_VT(&out) = VT_DISPATCH;
      break;
    case VarType::kArray:
      V_ARRAY(&out) = ToArray(value.Elements(), objects);
      V_VT(&out) = VT_ARRAY | VT_VARIANT;
      break;
  }
}

void WriteByRef(const Variant& value, VARIANT& target, const ObjectBridge& objects) {
  const VARTYPE type = V_VT(&target) & ~VT_BYREF;
  VariantHolder fresh;
  ToVariant(value, fresh.value, objects);
  if (type == VT_VARIANT) {
    VARIANT* inner = V_VARIANTREF(&target);
    VariantClear(inner);
    *inner = fresh.value;
    V_VT(&fresh.value) = VT_EMPTY;
    return;
  }
  if (type & VT_ARRAY) {
    if (V_VT(&fresh.value) != (VT_ARRAY | VT_VARIANT) || type != (VT_ARRAY | VT_VARIANT))
      Raise(err::kTypeMismatch);
    SafeArrayDestroy(*V_ARRAYREF(&target));
    *V_ARRAYREF(&target) = V_ARRAY(&fresh.value);
    V_VT(&fresh.value) = VT_EMPTY;
    return;
  }
  VariantHolder converted;
  if (FAILED(VariantChangeType(&converted.value, &fresh.value, 0, type))) Raise(err::kTypeMismatch);
  if (!StoreThroughReference(converted.value, type, target)) Raise(err::kTypeMismatch);
}

}  // namespace vtx::com
