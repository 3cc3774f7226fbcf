#include "cli/checkpoint_command.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ostream>

#include <fmt/format.h>

#include "cli/audit_database.h"
#include "cli/checkpoint_signature.h"
#include "cli/ledger_anchors.h"
#include "emulator/store/ledger.h"

namespace vtx::cli {

namespace {

// Appends the line in one write, so that lines of checkpoints taken at once
// never mix.
void AppendLine(const std::string& file, const std::string& line) {
  const int fd = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) throw std::runtime_error(fmt::format("{}: {}", file, std::strerror(errno)));
  const std::string text = line + "\n";
  const ssize_t written = ::write(fd, text.data(), text.size());
  const int error = errno;
  if (::close(fd) != 0 || written != static_cast<ssize_t>(text.size()))
    throw std::runtime_error(fmt::format("{}: the checkpoint was not written ({})", file,
                                         std::strerror(written < 0 ? error : ENOSPC)));
}

}  // namespace

int CheckpointCommand(const std::string& database, const std::string& out_file,
                      const std::string& key_file, std::ostream& out, std::ostream& err) {
  try {
    std::shared_ptr<emu::Store> store = OpenAuditDatabase(database);
    std::string line = CheckpointLine(emu::ReadHead(store->Db()), store->Now());
    if (!key_file.empty()) line = WithSignature(line, SignText(line, key_file));
    if (out_file.empty())
      out << line << "\n";
    else
      AppendLine(out_file, line);
    return 0;
  } catch (const std::exception& e) {
    return ReportAuditFailure("checkpoint", database, e, err);
  }
}

}  // namespace vtx::cli
