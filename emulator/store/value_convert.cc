#include "emulator/store/value_convert.h"

#include "emulator/store/model.h"

namespace vtx::emu {

bool IsKnownFieldType(int32_t field_type) {
  switch (field_type) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 6:
    case 7:
    case 8:
    case 10:
    case 11:
    case 12:
    case 13:
    case 15:
      return true;
    default:
      return false;
  }
}

VarType VarTypeOf(int32_t field_type) {
  switch (field_type) {
    case ftype::kInt16:
      return VarType::kI2;
    case ftype::kInt32:
    case ftype::kReference:
      return VarType::kI4;
    case ftype::kDouble:
      return VarType::kR8;
    case ftype::kDate:
    case ftype::kType8:
    case ftype::kType11:
    case ftype::kType12:
    case ftype::kType13:
      return VarType::kDate;
    case ftype::kBoolean:
      return VarType::kBool;
    default:
      return VarType::kString;
  }
}

const char* SqlTypeOf(int32_t field_type) {
  switch (VarTypeOf(field_type)) {
    case VarType::kI2:
    case VarType::kI4:
    case VarType::kBool:
      return "INTEGER";
    case VarType::kR8:
    case VarType::kDate:
      return "REAL";
    default:
      return "TEXT";
  }
}

Variant ConvertToFieldType(const Variant& value, int32_t field_type) {
  if (value.IsEmpty() || value.IsNull()) return value;
  switch (VarTypeOf(field_type)) {
    case VarType::kI2:
      return Variant(value.ToInt16());
    case VarType::kI4:
      return Variant(value.ToInt32());
    case VarType::kR8:
      return Variant(value.ToDouble());
    case VarType::kDate:
      return Variant::Date(value.ToDate());
    case VarType::kBool:
      return Variant(value.ToBool());
    default:
      return Variant(value.ToString());
  }
}

Variant FromStorage(const Variant& stored, int32_t field_type) {
  if (stored.IsNull() || stored.IsEmpty()) return Variant::Null();
  switch (VarTypeOf(field_type)) {
    case VarType::kDate:
      // Stored as the serial number; a text date written by plain SQL still reads.
      return Variant::Date(stored.IsString() ? stored.ToDate() : stored.ToDouble());
    case VarType::kBool:
      return Variant(stored.ToDouble() != 0);
    default:
      return ConvertToFieldType(stored, field_type);
  }
}

}  // namespace vtx::emu
