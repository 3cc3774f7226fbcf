#include "com/windows_platform.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "com/windows_api.h"
#include "platform/file_system_object.h"

namespace vtx {
namespace {

int ErrorNumberOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const RuntimeError& error) {
    return error.Number();
  }
  return 0;
}

class WindowsPlatformTest : public ::testing::Test {
 protected:
  void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  void TearDown() override {
    SetEnvironmentVariableW(L"VTX_MESSAGE_LOG", nullptr);
    CoUninitialize();
  }
  WindowsPlatform platform_;
};

TEST_F(WindowsPlatformTest, EnvironmentNamesIgnoreLetterCase) {
  SetEnvironmentVariableW(L"VTX_TEST_VALUE", L"J\u00f6rg");
  EXPECT_EQ(platform_.GetEnvironmentVariable("vtx_test_value"), "J\xC3\xB6rg");
  SetEnvironmentVariableW(L"VTX_TEST_VALUE", L"");
  EXPECT_EQ(platform_.GetEnvironmentVariable("VTX_TEST_VALUE"), "");
  SetEnvironmentVariableW(L"VTX_TEST_VALUE", nullptr);
  EXPECT_EQ(platform_.GetEnvironmentVariable("VTX_TEST_VALUE"), std::nullopt);
}

TEST_F(WindowsPlatformTest, MachineAndLogonNamesAreReported) {
  EXPECT_FALSE(platform_.GetComputerName().empty());
  EXPECT_FALSE(platform_.GetUserName().empty());
}

TEST_F(WindowsPlatformTest, HeadlessBoxesAndDialogsGoToTheLogAndTakeTheDefault) {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  const std::string log = std::string(folder) + "vtx_messages_test.log";
  std::remove(log.c_str());
  SetEnvironmentVariableA("VTX_MESSAGE_LOG", log.c_str());
  // Yes/No with the second button as default (4 + 256), then OK/Cancel.
  EXPECT_EQ(platform_.MessageBox("Delete?\r\nReally", 4 + 256, std::string("KORVEL")), 7);
  EXPECT_EQ(platform_.MessageBox("No title", 1, std::nullopt), 1);
  DialogSnapshot dialog;
  dialog.caption = "Select a template";
  dialog.lines = {"A", "B"};
  EXPECT_EQ(platform_.AskDialog(dialog).kind, DialogAction::Kind::kCancel);
  std::ifstream in(log, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  EXPECT_EQ(content.str(),
            "box\t260\tKORVEL\tDelete?\\r\\nReally\n"
            "box\t1\tVTX_HA\tNo title\n"
            "dialog\tSelect a template\tA|B\n");
  in.close();
  std::remove(log.c_str());
}

TEST_F(WindowsPlatformTest, CreatesComClassesByProgId) {
  EXPECT_EQ(ErrorNumberOf([&] { platform_.CreateObject("No.Such.Class"); }),
            err::kCannotCreateObject);

  auto files = CastTo<FileSystemObject>(platform_.CreateObject("Scripting.FileSystemObject"));
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  const std::string path = files->BuildPath(folder, "vtx_delete_me.txt");
  std::ofstream(path) << "x";
  EXPECT_TRUE(files->FileExists(path));
  EXPECT_TRUE(files->FolderExists(folder));
  files->DeleteFile(path);
  EXPECT_FALSE(files->FileExists(path));
  EXPECT_EQ(ErrorNumberOf([&] { files->DeleteFile(path); }), 53);
}

}  // namespace
}  // namespace vtx
