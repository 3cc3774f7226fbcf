// What vtx writes to standard error passes through here: each line with the
// passwords of the server URIs it holds taken out (emu::WithoutPasswords), so
// that no message, whoever wrote it (an option parser echoing an argument, a
// server quoting a connection string), shows one.
#pragma once

#include <ostream>
#include <streambuf>
#include <string>

namespace vtx::cli {

// Buffers a line and hands it on without passwords at its end or at a flush.
// Thread-safety: none; one per stream.
class PasswordMaskingBuffer : public std::streambuf {
 public:
  explicit PasswordMaskingBuffer(std::streambuf* target) : target_(target) {}
  ~PasswordMaskingBuffer() override { sync(); }

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* text, std::streamsize count) override;
  int sync() override;

 private:
  std::streambuf* target_;
  std::string line_;
};

// An ostream over `target` whose lines lose their passwords.
class PasswordMaskingStream : public std::ostream {
 public:
  explicit PasswordMaskingStream(std::ostream& target)
      : std::ostream(&buffer_), buffer_(target.rdbuf()) {}

 private:
  PasswordMaskingBuffer buffer_;
};

}  // namespace vtx::cli
