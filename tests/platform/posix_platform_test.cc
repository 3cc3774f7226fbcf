#include "platform/posix_platform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "platform/file_system_object.h"
#include "platform/scripted_platform.h"
#include "support/temp_folder.h"

namespace vtx {
namespace {

namespace fs = std::filesystem;

class RecordingPresenter : public Presenter {
 public:
  int32_t ShowMessage(const std::string& text, int32_t,
                      const std::optional<std::string>&) override {
    last_text = text;
    return 6;
  }
  DialogAction Ask(const DialogSnapshot&) override { return {DialogAction::Kind::kOk, -1}; }
  std::string last_text;
};

TEST(PlatformTest, CurrentDefaultsToTheMachineAndScopesRestoreIt) {
  Platform& machine = Platform::Current();
  EXPECT_NE(dynamic_cast<PosixPlatform*>(&machine), nullptr);
  ScriptedPlatform scripted;
  {
    ScopedPlatform scope(&scripted);
    EXPECT_EQ(&Platform::Current(), &scripted);
  }
  EXPECT_EQ(&Platform::Current(), &machine);
}

TEST(PosixPlatformTest, EnvironmentNamesIgnoreCase) {
  ::setenv("VTX_PLATFORM_TEST_VAR", "value", 1);
  PosixPlatform platform;
  EXPECT_EQ(platform.GetEnvironmentVariable("VTX_PLATFORM_TEST_VAR"), "value");
  EXPECT_EQ(platform.GetEnvironmentVariable("vtx_platform_test_var"), "value");
  ::unsetenv("VTX_PLATFORM_TEST_VAR");
  EXPECT_EQ(platform.GetEnvironmentVariable("VTX_PLATFORM_TEST_VAR"), std::nullopt);
}

TEST(PosixPlatformTest, MachineNamesLookLikeWindowsOnes) {
  PosixPlatform platform;
  std::string computer = platform.GetComputerName();
  EXPECT_LE(computer.size(), 15u);
  EXPECT_EQ(computer.find('.'), std::string::npos);
  for (char c : computer) EXPECT_FALSE(std::islower(static_cast<unsigned char>(c))) << computer;
  // A service or cron job has no USER: the system account still names it.
  const char* user = std::getenv("USER");
  const std::string saved = user ? user : "";
  ::unsetenv("USER");
  EXPECT_FALSE(platform.GetUserName().empty());
  ::setenv("USER", "someone", 1);
  EXPECT_EQ(platform.GetUserName(), "someone");
  if (user) {
    ::setenv("USER", saved.c_str(), 1);
  } else {
    ::unsetenv("USER");
  }
}

TEST(PosixPlatformTest, BoxesGoToTheChosenPresenter) {
  PosixPlatform platform;
  RecordingPresenter presenter;
  platform.SetPresenter(&presenter);
  EXPECT_EQ(platform.MessageBox("hello", 4, "VTX"), 6);
  EXPECT_EQ(presenter.last_text, "hello");
  EXPECT_EQ(platform.AskDialog(DialogSnapshot{}).kind, DialogAction::Kind::kOk);
}

TEST(PosixPlatformTest, FileSystemObjectWorksOnMappedDrives) {
  const test::TempFolder folder("vtx_posix_platform_test");
  const fs::path root = folder / "drives";
  auto paths = std::make_shared<WindowsPaths>(root);
  PosixPlatform platform(paths);
  std::vector<std::string> created;
  platform.SetFileObserver([&](FileChange, const std::string& path) { created.push_back(path); });
  auto fso = CastTo<FileSystemObject>(platform.CreateObject("Scripting.FileSystemObject"));
  fso->CreateFolder("Q:\\New");
  EXPECT_TRUE(fs::is_directory(root / "Q" / "New"));
  EXPECT_EQ(created, std::vector<std::string>{"Q:\\New"});
}

}  // namespace
}  // namespace vtx
