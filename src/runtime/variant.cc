#include "runtime/variant.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>

#include "runtime/dispatch.h"
#include "runtime/ole_date.h"
#include "runtime/text.h"

namespace vtx {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// A number written in text: its value, and for &H / &O literals the raw
// unsigned bits, which each target width reinterprets as the language does
// (&HFFFF is -1 as an Integer).
struct ParsedNumber {
  double value = 0;
  std::optional<uint64_t> radix_bits;
};

std::optional<ParsedNumber> ParseRadix(std::string_view s, int radix) {
  if (s.empty()) return std::nullopt;
  uint64_t bits = 0;
  for (char c : s) {
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (radix == 16 && std::isxdigit(static_cast<unsigned char>(c))) {
      digit = std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
    } else {
      return std::nullopt;
    }
    if (digit >= radix) return std::nullopt;
    if (bits > (std::numeric_limits<uint64_t>::max() >> 4)) Raise(err::kOverflow);
    bits = bits * static_cast<uint64_t>(radix) + static_cast<uint64_t>(digit);
  }
  return ParsedNumber{static_cast<double>(bits), bits};
}

// Numeric text as the runtime accepts it: blanks around, an optional sign,
// digits with optional thousands commas, a decimal point, an exponent (E or D),
// or an &H / &O literal. Anything else is not a number.
std::optional<ParsedNumber> ParseNumber(std::string_view text) {
  std::string_view s = TrimBlanks(text);
  if (s.size() > 2 && s[0] == '&') {
    char kind = static_cast<char>(std::tolower(static_cast<unsigned char>(s[1])));
    if (kind == 'h') return ParseRadix(s.substr(2), 16);
    if (kind == 'o') return ParseRadix(s.substr(2), 8);
    return std::nullopt;
  }
  std::string digits;
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) digits.push_back(s[i++]);
  size_t mantissa_digits = 0;
  while (i < s.size() &&
         (std::isdigit(static_cast<unsigned char>(s[i])) || (s[i] == ',' && mantissa_digits > 0))) {
    if (s[i] != ',') {
      digits.push_back(s[i]);
      ++mantissa_digits;
    }
    ++i;
  }
  if (i < s.size() && s[i] == '.') {
    digits.push_back(s[i++]);
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
      digits.push_back(s[i++]);
      ++mantissa_digits;
    }
  }
  if (mantissa_digits == 0) return std::nullopt;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    digits.push_back('e');
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) digits.push_back(s[i++]);
    size_t exponent_digits = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
      digits.push_back(s[i++]);
      ++exponent_digits;
    }
    if (exponent_digits == 0) return std::nullopt;
  }
  if (i != s.size()) return std::nullopt;
  double value = std::strtod(digits.c_str(), nullptr);
  if (std::isinf(value)) Raise(err::kOverflow);
  return ParsedNumber{value, std::nullopt};
}

std::optional<bool> ParseBoolWord(std::string_view text) {
  std::string_view s = TrimBlanks(text);
  if (text::SameNoCase(s, "True")) return true;
  if (text::SameNoCase(s, "False")) return false;
  return std::nullopt;
}

// Text to a number for a target whose raw width is `bits` (16, 32 or 64 for
// a double): numeric text, or the words True / False.
double StringToNumber(const std::string& s, int bits) {
  if (auto parsed = ParseNumber(s)) {
    if (!parsed->radix_bits) return parsed->value;
    uint64_t raw = *parsed->radix_bits;
    if (raw <= 0xFFFF && bits == 16) return static_cast<int16_t>(raw);
    if (raw <= 0xFFFFFFFFull) return static_cast<int32_t>(raw);
    Raise(err::kOverflow);
  }
  if (auto word = ParseBoolWord(s)) return *word ? -1.0 : 0.0;
  Raise(err::kTypeMismatch);
}

double RoundHalfEven(double x) {
  double floor = std::floor(x);
  double diff = x - floor;
  if (diff > 0.5) return floor + 1;
  if (diff < 0.5) return floor;
  return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

std::string FormatDouble(double d) {
  if (d == 0) return "0";  // also turns -0 into 0
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15G", d);
  return buf;
}

// Converts `v` to a double as a target of raw width `bits` would see it.
double ToNumber(const Variant& v, int bits);

Variant DefaultValueOf(const Ref<Dispatch>& object) {
  if (!object) Raise(err::kObjectVariableNotSet);
  return object->GetDefaultValue();
}

double ToNumber(const Variant& v, int bits) {
  switch (v.Type()) {
    case VarType::kEmpty:
      return 0;
    case VarType::kNull:
      Raise(err::kInvalidUseOfNull);
    case VarType::kI2:
      return v.AsI2();
    case VarType::kI4:
      return v.AsI4();
    case VarType::kR8:
      return v.AsR8();
    case VarType::kDate:
      return v.AsDate();
    case VarType::kBool:
      return v.AsBool() ? -1.0 : 0.0;
    case VarType::kString:
      return StringToNumber(v.AsString(), bits);
    case VarType::kObject:
      return ToNumber(DefaultValueOf(v.AsObject()), bits);
    case VarType::kError:
    case VarType::kArray:
      break;
  }
  Raise(err::kTypeMismatch);
}

template <class Int>
Int ToInteger(const Variant& v) {
  if (v.Type() == VarType::kI2) return v.AsI2();
  if (v.Type() == VarType::kI4 && sizeof(Int) == sizeof(int32_t)) return v.AsI4();
  double rounded = RoundHalfEven(ToNumber(v, sizeof(Int) * 8));
  if (!(rounded >= std::numeric_limits<Int>::min() && rounded <= std::numeric_limits<Int>::max()))
    Raise(err::kOverflow);
  return static_cast<Int>(rounded);
}

// Dates written the way ToDisplayString writes them: "M/D/YYYY", optionally
// followed by "H:MM[:SS] [AM|PM]", or the time alone.
std::optional<double> ParseDisplayDate(std::string_view text) {
  std::string s(TrimBlanks(text));
  int month = 0, day = 0, year = 0, hour = 0, minute = 0, second = 0;
  char ampm[3] = {0};
  int used = 0;
  bool has_date = false;
  const char* rest = s.c_str();
  if (std::sscanf(rest, "%d/%d/%d%n", &month, &day, &year, &used) == 3) {
    has_date = true;
    rest += used;
  } else {
    year = 1899, month = 12, day = 30;
  }
  while (*rest == ' ') ++rest;
  if (*rest) {
    used = 0;
    int fields = std::sscanf(rest, "%d:%d%n", &hour, &minute, &used);
    if (fields != 2) return std::nullopt;
    rest += used;
    if (*rest == ':') {
      used = 0;
      if (std::sscanf(rest, ":%d%n", &second, &used) != 1) return std::nullopt;
      rest += used;
    }
    while (*rest == ' ') ++rest;
    if (*rest) {
      used = 0;
      if (std::sscanf(rest, "%2[AaPp]%*[Mm]%n", ampm, &used) < 1 || used == 0 || rest[used] != '\0')
        return std::nullopt;
      if (hour < 1 || hour > 12) return std::nullopt;
      bool pm = ampm[0] == 'P' || ampm[0] == 'p';
      hour = hour % 12 + (pm ? 12 : 0);
    }
  } else if (!has_date) {
    return std::nullopt;
  }
  char iso[64];
  std::snprintf(iso, sizeof iso, "%04d-%02d-%02dT%02d:%02d:%02d", year, month, day, hour, minute,
                second);
  try {
    return date::FromIso(iso);
  } catch (const RuntimeError&) {
    return std::nullopt;
  }
}

}  // namespace

VarType Variant::Type() const {
  switch (value_.index()) {
    case 0:
      return VarType::kEmpty;
    case 1:
      return VarType::kNull;
    case 2:
      return VarType::kError;
    case 3:
      return VarType::kI2;
    case 4:
      return VarType::kI4;
    case 5:
      return VarType::kR8;
    case 6:
      return VarType::kBool;
    case 7:
      return VarType::kString;
    case 8:
      return VarType::kObject;
    case 9:
      return VarType::kDate;
    default:
      return VarType::kArray;
  }
}

bool Variant::IsNothing() const { return IsObject() && AsObject().IsNothing(); }

bool Variant::IsNumeric() const {
  switch (Type()) {
    case VarType::kI2:
    case VarType::kI4:
    case VarType::kR8:
    case VarType::kBool:
    case VarType::kDate:
      return true;
    default:
      return false;
  }
}

std::string Variant::ToString() const {
  switch (Type()) {
    case VarType::kEmpty:
      return {};
    case VarType::kNull:
      Raise(err::kInvalidUseOfNull);
    case VarType::kI2:
      return std::to_string(AsI2());
    case VarType::kI4:
      return std::to_string(AsI4());
    case VarType::kR8:
      return FormatDouble(AsR8());
    case VarType::kDate:
      return date::ToDisplayString(AsDate());
    case VarType::kBool:
      return AsBool() ? "True" : "False";
    case VarType::kString:
      return AsString();
    case VarType::kObject:
      return DefaultValueOf(AsObject()).ToString();
    case VarType::kError:
    case VarType::kArray:
      break;
  }
  Raise(err::kTypeMismatch);
}

int16_t Variant::ToInt16() const { return ToInteger<int16_t>(*this); }

int32_t Variant::ToInt32() const { return ToInteger<int32_t>(*this); }

double Variant::ToDouble() const { return ToNumber(*this, 64); }

bool Variant::ToBool() const {
  switch (Type()) {
    case VarType::kBool:
      return AsBool();
    case VarType::kString: {
      if (auto word = ParseBoolWord(AsString())) return *word;
      if (ParseNumber(AsString())) return StringToNumber(AsString(), 64) != 0;
      Raise(err::kTypeMismatch);
    }
    case VarType::kObject:
      return DefaultValueOf(AsObject()).ToBool();
    default:
      return ToNumber(*this, 64) != 0;
  }
}

double Variant::ToDate() const {
  switch (Type()) {
    case VarType::kDate:
      return AsDate();
    case VarType::kString: {
      const std::string& s = AsString();
      try {
        return date::FromIso(std::string(TrimBlanks(s)));
      } catch (const RuntimeError&) {
      }
      if (auto parsed = ParseDisplayDate(s)) return *parsed;
      Raise(err::kTypeMismatch);
    }
    case VarType::kObject:
      return DefaultValueOf(AsObject()).ToDate();
    default:
      return ToNumber(*this, 64);
  }
}

Ref<Dispatch> Variant::ToObject() const {
  if (!IsObject()) Raise(err::kTypeMismatch);
  return AsObject();
}

const Variant::Array& Variant::Elements() const {
  if (!IsArray()) Raise(err::kTypeMismatch);
  return *std::get<std::shared_ptr<const Array>>(value_);
}

int32_t Variant::UBound() const { return static_cast<int32_t>(Elements().size()) - 1; }

bool operator==(const Variant& a, const Variant& b) {
  if (a.value_.index() != b.value_.index()) return false;
  switch (a.Type()) {
    case VarType::kEmpty:
    case VarType::kNull:
    case VarType::kError:
      return true;
    case VarType::kI2:
      return a.AsI2() == b.AsI2();
    case VarType::kI4:
      return a.AsI4() == b.AsI4();
    case VarType::kR8:
      return a.AsR8() == b.AsR8();
    case VarType::kDate:
      return a.AsDate() == b.AsDate();
    case VarType::kBool:
      return a.AsBool() == b.AsBool();
    case VarType::kString:
      return a.AsString() == b.AsString();
    case VarType::kObject:
      return a.AsObject() == b.AsObject();
    case VarType::kArray:
      return a.Elements() == b.Elements();
  }
  return false;
}

bool CompareEqual(const Variant& a, const Variant& b) {
  if (a.IsObject()) return CompareEqual(DefaultValueOf(a.AsObject()), b);
  if (b.IsObject()) return CompareEqual(a, DefaultValueOf(b.AsObject()));
  if (a.IsNull() || b.IsNull()) return false;
  if (a.IsMissing() || b.IsMissing() || a.IsArray() || b.IsArray()) Raise(err::kTypeMismatch);
  if (a.IsEmpty() && b.IsEmpty()) return true;
  // Empty takes the type of the other side: "" against text, 0 against numbers.
  if (a.IsString() && (b.IsString() || b.IsEmpty())) return a.AsString() == b.ToString();
  if (b.IsString() && a.IsEmpty()) return b.AsString().empty();
  return a.ToDouble() == b.ToDouble();
}

int32_t VarTypeCode(const Variant& v) { return static_cast<int32_t>(v.Type()); }

}  // namespace vtx
