#include <ctime>

#include "platform/local_clock.h"
#include "runtime/ole_date.h"

namespace vtx {

double LocalNowAsOleDate() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return date::FromParts(date::DateParts{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                         local.tm_hour, local.tm_min, local.tm_sec});
}

}  // namespace vtx
