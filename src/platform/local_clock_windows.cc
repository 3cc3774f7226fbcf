#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "platform/local_clock.h"
#include "runtime/ole_date.h"

namespace vtx {

double LocalNowAsOleDate() {
  // The system's own local time, with its time-zone rules.
  SYSTEMTIME local{};
  GetLocalTime(&local);
  return date::FromParts(date::DateParts{local.wYear, local.wMonth, local.wDay, local.wHour,
                                         local.wMinute, local.wSecond});
}

}  // namespace vtx
