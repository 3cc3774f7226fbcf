#include "runtime/ole_date.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "runtime/runtime_error.h"

namespace vtx::date {

namespace {

constexpr int64_t kSecondsPerDay = 86400;

const char* const kMonthNames[] = {"January",   "February", "March",    "April",
                                   "May",       "June",     "July",     "August",
                                   "September", "October",  "November", "December"};
const char* const kDayNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                 "Thursday", "Friday", "Saturday"};

// Days since 1970-01-01 of a proleptic Gregorian date.
constexpr int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

constexpr int64_t kEpochOffset = DaysFromCivil(1899, 12, 30);

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

// Day number and second of day, the time being rounded to the second. OLE
// serials before day 0 keep the time as a positive fraction (-1.25 is
// 1899-12-29 06:00).
void Split(double serial, int64_t& days, int64_t& seconds) {
  double whole = std::trunc(serial);
  double frac = std::fabs(serial - whole);
  days = static_cast<int64_t>(whole);
  seconds = std::llround(frac * kSecondsPerDay);
  if (seconds >= kSecondsPerDay) {
    seconds -= kSecondsPerDay;
    days += serial < 0 ? -1 : 1;
  }
}

int DayOfWeek(double serial) {  // 0 = Sunday
  int64_t days, seconds;
  Split(serial, days, seconds);
  // 1899-12-30 was a Saturday.
  return static_cast<int>(((days + 6) % 7 + 7) % 7);
}

std::string Pad(int value, int width) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0*d", width, value);
  return buf;
}

std::string TimeText(const DateParts& p) {
  int h12 = p.hour % 12 == 0 ? 12 : p.hour % 12;
  return std::to_string(h12) + ":" + Pad(p.minute, 2) + ":" + Pad(p.second, 2) +
         (p.hour < 12 ? " AM" : " PM");
}

bool ParseInt(const std::string& s, size_t& i, size_t digits, int& out) {
  if (i + digits > s.size()) return false;
  out = 0;
  for (size_t k = 0; k < digits; ++k) {
    char c = s[i + k];
    if (c < '0' || c > '9') return false;
    out = out * 10 + (c - '0');
  }
  i += digits;
  return true;
}

}  // namespace

double FromParts(const DateParts& p) {
  int64_t days = DaysFromCivil(p.year, p.month, p.day) - kEpochOffset;
  double time = static_cast<double>(p.hour * 3600 + p.minute * 60 + p.second) / kSecondsPerDay;
  return days >= 0 ? static_cast<double>(days) + time : static_cast<double>(days) - time;
}

DateParts ToParts(double serial) {
  int64_t days, seconds;
  Split(serial, days, seconds);
  DateParts p{};
  CivilFromDays(days + kEpochOffset, p.year, p.month, p.day);
  p.hour = static_cast<int>(seconds / 3600);
  p.minute = static_cast<int>(seconds / 60 % 60);
  p.second = static_cast<int>(seconds % 60);
  return p;
}

double FromIso(const std::string& iso) {
  DateParts p{};
  size_t i = 0;
  bool ok = ParseInt(iso, i, 4, p.year) && i < iso.size() && iso[i++] == '-' &&
            ParseInt(iso, i, 2, p.month) && i < iso.size() && iso[i++] == '-' &&
            ParseInt(iso, i, 2, p.day);
  if (ok && i < iso.size()) {
    ok = (iso[i] == 'T' || iso[i] == ' ') && ParseInt(iso, ++i, 2, p.hour) && i < iso.size() &&
         iso[i++] == ':' && ParseInt(iso, i, 2, p.minute);
    if (ok && i < iso.size()) ok = iso[i++] == ':' && ParseInt(iso, i, 2, p.second);
    ok = ok && i == iso.size();
  }
  ok = ok && p.month >= 1 && p.month <= 12 && p.day >= 1 && p.day <= DaysInMonth(p.year, p.month) &&
       p.hour < 24 && p.minute < 60 && p.second < 60;
  if (!ok) Raise(err::kTypeMismatch);
  return FromParts(p);
}

std::string ToIso(double serial) {
  DateParts p = ToParts(serial);
  return Pad(p.year, 4) + "-" + Pad(p.month, 2) + "-" + Pad(p.day, 2) + "T" + Pad(p.hour, 2) + ":" +
         Pad(p.minute, 2) + ":" + Pad(p.second, 2);
}

std::string ToDisplayString(double serial) {
  DateParts p = ToParts(serial);
  int64_t days, seconds;
  Split(serial, days, seconds);
  std::string date_text =
      std::to_string(p.month) + "/" + std::to_string(p.day) + "/" + std::to_string(p.year);
  if (days == 0) return TimeText(p);
  if (seconds == 0) return date_text;
  return date_text + " " + TimeText(p);
}

namespace {

// A number of a format field: as many digits as it has, or two at least for
// a doubled letter.
std::string FieldNumber(int value, size_t run) {
  return run >= 2 ? Pad(value, 2) : std::to_string(value);
}

// The text of a run of `run` letters `letter` (lower case) that stand for a
// date or time field; nullopt for a letter that stands for none.
std::optional<std::string> FieldText(char letter, size_t run, const DateParts& p, double serial,
                                     bool twelve_hour, bool after_hour) {
  switch (letter) {
    case 'y':
      if (run >= 3) return Pad(p.year, 4);
      if (run == 2) return Pad(p.year % 100, 2);
      return std::to_string(DaysFromCivil(p.year, p.month, p.day) - DaysFromCivil(p.year, 1, 1) +
                            1);
    case 'm':
      if (after_hour && run <= 2) return FieldNumber(p.minute, run);
      if (run >= 4) return kMonthNames[p.month - 1];
      if (run == 3) return std::string(kMonthNames[p.month - 1]).substr(0, 3);
      return FieldNumber(p.month, run);
    case 'n':
      return FieldNumber(p.minute, run);
    case 'd':
      if (run >= 4) return kDayNames[DayOfWeek(serial)];
      if (run == 3) return std::string(kDayNames[DayOfWeek(serial)]).substr(0, 3);
      return FieldNumber(p.day, run);
    case 'h':
      return FieldNumber(twelve_hour ? (p.hour % 12 == 0 ? 12 : p.hour % 12) : p.hour, run);
    case 's':
      return FieldNumber(p.second, run);
    default:
      return std::nullopt;
  }
}

}  // namespace

std::string Format(double serial, const std::string& pattern) {
  const DateParts p = ToParts(serial);
  std::string upper_pattern = pattern;
  for (char& c : upper_pattern) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const bool twelve_hour = upper_pattern.find("AM/PM") != std::string::npos;
  std::string out;
  bool after_hour = false;  // "m" right after an hour means minutes
  size_t i = 0;
  while (i < pattern.size()) {
    char c = pattern[i];
    char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c == '\\' && i + 1 < pattern.size()) {
      out.push_back(pattern[i + 1]);
      i += 2;
      continue;
    }
    if (c == '"') {
      size_t end = pattern.find('"', i + 1);
      if (end == std::string::npos) end = pattern.size();
      out.append(pattern, i + 1, end - i - 1);
      i = end + 1;
      continue;
    }
    if (upper_pattern.compare(i, 5, "AM/PM") == 0) {
      bool upper_case = std::isupper(static_cast<unsigned char>(c));
      out += p.hour < 12 ? (upper_case ? "AM" : "am") : (upper_case ? "PM" : "pm");
      i += 5;
      continue;
    }
    size_t run = 1;
    while (i + run < pattern.size() &&
           std::tolower(static_cast<unsigned char>(pattern[i + run])) == lower)
      ++run;
    if (auto field = FieldText(lower, run, p, serial, twelve_hour, after_hour)) {
      out += *field;
      after_hour = lower == 'h';
    } else {
      out.append(pattern, i, run);
      // A separator between the hour and the minutes keeps "m" meaning minutes.
      if (c != ':') after_hour = false;
    }
    i += run;
  }
  return out;
}

}  // namespace vtx::date
