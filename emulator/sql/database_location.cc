#include "emulator/sql/database_location.h"

#include <algorithm>
#include <array>

namespace vtx::emu {

namespace {

constexpr std::array<std::string_view, 2> kSchemes = {"postgresql://", "postgres://"};
constexpr std::array<std::string_view, 2> kSecretParameters = {"password", "sslpassword"};

bool EndsUri(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '"' || c == '\'' || c == '`';
}

bool IsSecret(std::string_view parameter) {
  const std::string_view key = parameter.substr(0, parameter.find('='));
  return std::find(kSecretParameters.begin(), kSecretParameters.end(), key) !=
         kSecretParameters.end();
}

// One URI (scheme included) without its passwords.
std::string MaskUri(std::string_view uri, size_t scheme_length) {
  std::string out(uri.substr(0, scheme_length));
  std::string_view rest = uri.substr(scheme_length);
  // The user info ends at the first '@' before the host's '/', as libpq reads it.
  const size_t at = rest.find_first_of("@/");
  if (at != std::string_view::npos && rest[at] == '@') {
    const std::string_view user_info = rest.substr(0, at);
    out += user_info.substr(0, user_info.find(':'));
    rest.remove_prefix(at);
  }
  const size_t query = rest.find('?');
  out += rest.substr(0, query);
  if (query == std::string_view::npos) return out;
  std::string kept;
  std::string_view parameters = rest.substr(query + 1);
  while (!parameters.empty()) {
    const size_t amp = parameters.find('&');
    const std::string_view parameter = parameters.substr(0, amp);
    if (!IsSecret(parameter)) kept += (kept.empty() ? "" : "&") + std::string(parameter);
    parameters = amp == std::string_view::npos ? std::string_view() : parameters.substr(amp + 1);
  }
  if (!kept.empty()) out += "?" + kept;
  return out;
}

}  // namespace

bool IsPostgresqlUri(std::string_view text) {
  return std::any_of(kSchemes.begin(), kSchemes.end(),
                     [&](std::string_view scheme) { return text.rfind(scheme, 0) == 0; });
}

DatabaseLocation::DatabaseLocation(std::string text) : text_(std::move(text)) {
  if (text_.empty()) text_ = ":memory:";
  if (text_ == ":memory:")
    kind_ = Kind::kMemory;
  else if (IsPostgresqlUri(text_))
    kind_ = Kind::kPostgresql;
  else if (text_.rfind("file:", 0) == 0)
    kind_ = Kind::kSqliteUri;
  else
    kind_ = Kind::kFile;
}

std::string DatabaseLocation::Shown() const { return WithoutPasswords(text_); }

std::string DatabaseLocation::PostgresqlDatabaseName() const {
  const std::string_view uri = text_;
  const size_t scheme = uri.find("://");
  const size_t slash = scheme == std::string_view::npos ? scheme : uri.find('/', scheme + 3);
  if (slash == std::string_view::npos) return "korvel";
  const std::string_view name = uri.substr(slash + 1, uri.find('?', slash) - slash - 1);
  return name.empty() ? "korvel" : std::string(name);
}

std::string WithoutPasswords(std::string_view text) {
  std::string out;
  size_t done = 0;
  while (done < text.size()) {
    size_t start = std::string_view::npos, scheme_length = 0;
    for (std::string_view scheme : kSchemes) {
      const size_t at = text.find(scheme, done);
      if (at < start) start = at, scheme_length = scheme.size();
    }
    if (start == std::string_view::npos) break;
    size_t end = start + scheme_length;
    while (end < text.size() && !EndsUri(text[end])) ++end;
    out += text.substr(done, start - done);
    out += MaskUri(text.substr(start, end - start), scheme_length);
    done = end;
  }
  out += text.substr(done);
  return out;
}

}  // namespace vtx::emu
