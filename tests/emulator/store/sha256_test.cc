#include "emulator/store/sha256.h"

#include <gtest/gtest.h>

#include <string>

namespace vtx::emu {
namespace {

// The published test vectors, and input that is no multiple of the block size
// and holds every byte value: each system's implementation must agree with them.
TEST(Sha256Test, GivesThePublishedDigests) {
  std::string every_byte;
  for (int i = 0; i < 1000; ++i) every_byte += static_cast<char>(i % 256);
  const struct {
    std::string data;
    const char* hex;
  } cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1000000, 'a'),
       "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
      {every_byte, "a8af099bf2e878609558dbf69d8f88f4a31040a8cf84b549a0cfa912f12ffc3f"},
  };
  for (const auto& c : cases) EXPECT_EQ(Sha256Hex(c.data), c.hex) << c.data.size() << " bytes";
}

}  // namespace
}  // namespace vtx::emu
