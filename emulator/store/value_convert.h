#pragma once

#include <cstdint>

#include "runtime/variant.h"

namespace vtx::emu {

// How the store keeps values of each field type: the Variant type an
// attribute's value has, and the SQL column type behind it.
//   1, 6 text -> string (TEXT)
//   2 -> 16-bit (INTEGER); 3, 10 -> 32-bit (INTEGER)
//   4 -> double (REAL); 7, 8, 11, 12, 13 -> date (REAL, the OLE serial)
//   15 -> Boolean (INTEGER -1 / 0)
bool IsKnownFieldType(int32_t field_type);
const char* SqlTypeOf(int32_t field_type);
VarType VarTypeOf(int32_t field_type);

// A value written into an attribute, converted as Automation converts it
// ("7" into a 32-bit attribute is 7). Empty and Null stay as they are.
// Raises 13 when it does not convert, 6 when it overflows.
Variant ConvertToFieldType(const Variant& value, int32_t field_type);

// A value read from the database (as SqlValueToVariant gives it) in the
// attribute's type; SQL NULL is Null.
Variant FromStorage(const Variant& stored, int32_t field_type);

}  // namespace vtx::emu
