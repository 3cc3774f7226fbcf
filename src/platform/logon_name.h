// The logon name of the account this process runs as.
#pragma once

#include <string>

namespace vtx {

// On Windows the account's name as GetUserNameW gives it. Elsewhere USER from
// the environment when set, else the name of the effective user's system
// account, so that a service or a cron job without USER still has one.
// Empty only when the account has no name. Thread-safe.
std::string LogonName();

}  // namespace vtx
