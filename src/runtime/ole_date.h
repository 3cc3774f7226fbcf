#pragma once

#include <string>

// OLE Automation dates: a double counting days since 1899-12-30, the fraction
// being the time of day. Times are rounded to the second.
// Pure functions; safe from any thread.
namespace vtx::date {

struct DateParts {
  int year, month, day, hour, minute, second;
};

double FromParts(const DateParts& p);
DateParts ToParts(double serial);
// ISO 8601 local time "2026-12-05T10:11:12" (seconds optional); raises 13 when malformed.
double FromIso(const std::string& iso);
std::string ToIso(double serial);
// The US-English text the runtime gives a date: "12/5/2026 10:11:12 AM",
// the date alone when the time is midnight, the time alone on day 0.
std::string ToDisplayString(double serial);
// Format(date, pattern) for the pattern letters the add-in uses:
// yy, yyyy, M, MM, MMM (English abbreviation), d, dd, h, hh (00-23), n/m after h
// (minutes), mm after hh, s, ss. "yyMMMddhhmmss" gives 26Dec05101112.
std::string Format(double serial, const std::string& pattern);

}  // namespace vtx::date
