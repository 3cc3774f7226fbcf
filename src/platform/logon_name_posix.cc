#include "platform/logon_name.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace vtx {

std::string LogonName() {
  if (const char* user = std::getenv("USER"); user && *user) return user;
  struct passwd pwd {};
  struct passwd* result = nullptr;
  char buffer[4096];
  if (getpwuid_r(geteuid(), &pwd, buffer, sizeof buffer, &result) == 0 && result)
    return result->pw_name;
  return "";
}

}  // namespace vtx
