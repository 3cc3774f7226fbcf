#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "runtime/ref.h"
#include "runtime/runtime_error.h"

namespace vtx {

class Dispatch;

// Automation variant types, numbered as COM numbers them.
enum class VarType : uint16_t {
  kEmpty = 0,
  kNull = 1,
  kI2 = 2,
  kI4 = 3,
  kR8 = 5,
  kDate = 7,
  kString = 8,
  kObject = 9,
  kError = 10,  // only as "missing optional argument"
  kBool = 11,
  kArray = 0x200C,  // one-dimensional array of Variants, lower bound 0
};

// An Automation Variant. Values are immutable once built; copying is cheap
// (strings and arrays are copied, objects share their reference).
//
// Conversions follow Automation's rules (US English locale):
//   - ToInt16/ToInt32 round half to even and raise 6 (overflow) out of range;
//   - Null raises 94 in every conversion (ToString included);
//   - Empty converts to 0, "", False;
//   - text converts to numbers when it is a numeric literal (blanks around,
//     sign, decimals, exponent, &H/&O; "12abc" raises 13); "True"/"False"
//     in any case convert to -1/0;
//   - Missing (an omitted optional argument) and arrays raise 13;
//   - an object converts through its default value; Nothing raises 91;
//   - Booleans are -1 / 0; ToString of a Boolean gives "True" / "False".
// Thread-safety: a Variant is a value; distinct instances may be used from
// distinct threads, objects they refer to follow their own rules.
class Variant {
 public:
  struct EmptyTag {};
  struct NullTag {};
  struct MissingTag {};
  struct DateValue {
    double serial;  // OLE Automation date: days since 1899-12-30
  };
  using Array = std::vector<Variant>;

  Variant() = default;  // Empty
  Variant(NullTag) : value_(NullTag{}) {}
  Variant(MissingTag) : value_(MissingTag{}) {}
  Variant(int16_t v) : value_(v) {}
  Variant(int32_t v) : value_(v) {}
  Variant(double v) : value_(v) {}
  Variant(bool v) : value_(BoolValue{v}) {}
  Variant(std::string v) : value_(std::move(v)) {}
  Variant(std::string_view v) : value_(std::string(v)) {}
  Variant(const char* v) : value_(std::string(v)) {}
  Variant(std::nullptr_t) : value_(Ref<Dispatch>()) {}  // Nothing
  Variant(Ref<Dispatch> v) : value_(std::move(v)) {}
  // clang-format off
  template <class T>
    requires(std::is_base_of_v<Dispatch, T> && !std::is_same_v<Dispatch, T>)
  Variant(const Ref<T>& v) : value_(Ref<Dispatch>(v)) {}
  // clang-format on
  Variant(DateValue v) : value_(v) {}
  Variant(Array v) : value_(std::make_shared<Array>(std::move(v))) {}

  static Variant Empty() { return Variant(); }
  static Variant Null() { return Variant(NullTag{}); }
  static Variant Nothing() { return Variant(nullptr); }
  static Variant Missing() { return Variant(MissingTag{}); }
  static Variant Date(double serial) { return Variant(DateValue{serial}); }

  VarType Type() const;
  bool IsEmpty() const { return Type() == VarType::kEmpty; }
  bool IsNull() const { return Type() == VarType::kNull; }
  bool IsMissing() const { return Type() == VarType::kError; }
  bool IsObject() const { return Type() == VarType::kObject; }
  // True for an object Variant that holds no object.
  bool IsNothing() const;
  bool IsString() const { return Type() == VarType::kString; }
  bool IsArray() const { return Type() == VarType::kArray; }
  bool IsNumeric() const;  // I2, I4, R8, Bool, Date

  // Automation conversions; each raises the runtime error Automation raises.
  std::string ToString() const;  // CStr
  int16_t ToInt16() const;       // CInt
  int32_t ToInt32() const;       // CLng
  double ToDouble() const;       // CDbl
  bool ToBool() const;           // CBool
  double ToDate() const;         // CDate, as an OLE date serial
  // Set x = v: an object Variant (possibly Nothing); anything else raises 13.
  Ref<Dispatch> ToObject() const;
  template <class T>
  Ref<T> ToObjectAs() const;  // defined in dispatch.h

  // Typed views of the stored value. REQUIRES: Type() is the matching type.
  int16_t AsI2() const { return std::get<int16_t>(value_); }
  int32_t AsI4() const { return std::get<int32_t>(value_); }
  double AsR8() const { return std::get<double>(value_); }
  bool AsBool() const { return std::get<BoolValue>(value_).v; }
  double AsDate() const { return std::get<DateValue>(value_).serial; }
  const std::string& AsString() const { return std::get<std::string>(value_); }
  const Ref<Dispatch>& AsObject() const { return std::get<Ref<Dispatch>>(value_); }
  // The array elements; raises 13 when this is not an array.
  const Array& Elements() const;
  // UBound of the array; raises 13 when this is not an array.
  int32_t UBound() const;

  // Same type and same value (object identity for objects). Not the language's
  // "=" operator; see CompareEqual for that.
  friend bool operator==(const Variant& a, const Variant& b);

 private:
  struct BoolValue {
    bool v;
    friend bool operator==(BoolValue a, BoolValue b) { return a.v == b.v; }
  };
  using Value =
      std::variant<std::monostate, NullTag, MissingTag, int16_t, int32_t, double, BoolValue,
                   std::string, Ref<Dispatch>, DateValue, std::shared_ptr<const Array>>;
  Value value_;
};

inline constexpr int16_t kTrue16 = -1;  // Boolean True as a 16-bit integer

// The language's "=" between two Variants: Null on either side is neither equal
// nor unequal (returns false); string against string compares exactly; numbers
// compare numerically; a string against a number compares as numbers when the
// string is numeric, else raises 13.
bool CompareEqual(const Variant& a, const Variant& b);

// VarType() as the language reports it (the numeric code). Objects, Nothing
// included, report 9: their default value is not consulted.
int32_t VarTypeCode(const Variant& v);

}  // namespace vtx
