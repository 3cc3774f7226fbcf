#include "cli/password_masking_stream.h"

#include "emulator/sql/database_location.h"

namespace vtx::cli {

PasswordMaskingBuffer::int_type PasswordMaskingBuffer::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  line_ += traits_type::to_char_type(c);
  if (c == '\n' && sync() != 0) return traits_type::eof();
  return c;
}

std::streamsize PasswordMaskingBuffer::xsputn(const char* text, std::streamsize count) {
  for (std::streamsize i = 0; i < count; ++i)
    if (traits_type::eq_int_type(overflow(traits_type::to_int_type(text[i])), traits_type::eof()))
      return i;
  return count;
}

int PasswordMaskingBuffer::sync() {
  if (line_.empty()) return target_->pubsync();
  const std::string masked = emu::WithoutPasswords(line_);
  line_.clear();
  const auto size = static_cast<std::streamsize>(masked.size());
  if (target_->sputn(masked.data(), size) != size) return -1;
  return target_->pubsync();
}

}  // namespace vtx::cli
