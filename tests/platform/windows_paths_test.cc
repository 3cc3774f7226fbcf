#include "platform/windows_paths.h"
#include "support/case_name.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace vtx {
namespace {

namespace fs = std::filesystem;

class WindowsPathsTest : public testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(root_ / "c");
    fs::create_directories(root_ / "default");
  }

  WindowsPaths Paths() const {
    WindowsPaths paths(root_ / "default");
    paths.MapDrive("C:", root_ / "c");
    return paths;
  }

  const test::TempFolder folder_{"vtx_paths"};
  const fs::path root_ = folder_.Path();
};

struct ToHostCase {
  const char* name;
  std::string windows;
  std::string host;  // relative to the test root
};
VTX_PRINT_CASE_BY_NAME(ToHostCase)

class ToHostTest : public WindowsPathsTest, public testing::WithParamInterface<ToHostCase> {};

TEST_P(ToHostTest, MapsOntoDriveFolders) {
  const ToHostCase& c = GetParam();
  EXPECT_EQ(Paths().ToHost(c.windows), root_ / c.host);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToHostTest,
    testing::Values(ToHostCase{"DriveRoot", "C:\\", "c"}, ToHostCase{"BareDrive", "C:", "c"},
                    ToHostCase{"LowerCaseDrive", "c:\\Temp", "c/Temp"},
                    ToHostCase{"Nested", "C:\\Temp\\VTX_Temp\\TREE.inf",
                               "c/Temp/VTX_Temp/TREE.inf"},
                    ToHostCase{"ForwardSlashes", "C:/Temp/x", "c/Temp/x"},
                    ToHostCase{"DoubledSeparators", "C:\\\\Temp\\\\x\\", "c/Temp/x"},
                    ToHostCase{"DotAndDotDot", "C:\\a\\.\\b\\..\\x", "c/a/x"},
                    ToHostCase{"DotDotStaysOnDrive", "C:\\..\\..\\x", "c/x"},
                    ToHostCase{"RootedWithoutDriveIsC", "\\Temp", "c/Temp"},
                    ToHostCase{"UnmappedDriveUnderDefaultRoot", "D:\\Tmp", "default/D/Tmp"},
                    ToHostCase{"UnmappedLowerCaseDrive", "e:\\x", "default/E/x"}),
    [](const testing::TestParamInfo<ToHostCase>& info) { return info.param.name; });

TEST_F(WindowsPathsTest, FindsExistingEntriesInAnyLetterCase) {
  fs::create_directories(root_ / "c" / "Temp" / "Élan");
  EXPECT_EQ(Paths().ToHost("C:\\TEMP\\éLAN\\New"), root_ / "c" / "Temp" / "Élan" / "New");
}

struct ToWindowsCase {
  const char* name;
  std::string host;  // relative to the test root
  std::string windows;
};
VTX_PRINT_CASE_BY_NAME(ToWindowsCase)

class ToWindowsTest : public WindowsPathsTest, public testing::WithParamInterface<ToWindowsCase> {};

TEST_P(ToWindowsTest, GivesWindowsForm) {
  const ToWindowsCase& c = GetParam();
  EXPECT_EQ(Paths().ToWindows(root_ / c.host), c.windows);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToWindowsTest,
    testing::Values(ToWindowsCase{"DriveRoot", "c", "C:\\"},
                    ToWindowsCase{"Nested", "c/Temp/VTX_Temp", "C:\\Temp\\VTX_Temp"},
                    ToWindowsCase{"TrailingSlash", "c/Temp/", "C:\\Temp"},
                    ToWindowsCase{"DefaultRootLetter", "default/D/Tmp", "D:\\Tmp"}),
    [](const testing::TestParamInfo<ToWindowsCase>& info) { return info.param.name; });

TEST_F(WindowsPathsTest, SiblingOfDriveFolderIsNotOnTheDrive) {
  std::string expected = (root_ / "cx" / "a").string();
  for (char& ch : expected)
    if (ch == '/') ch = '\\';
  EXPECT_EQ(Paths().ToWindows(root_ / "cx" / "a"), expected);
}

TEST_F(WindowsPathsTest, NestedDriveFolderWinsOverItsParent) {
  WindowsPaths paths(root_ / "default");
  paths.MapDrive("C", root_ / "c");
  paths.MapDrive("d:", root_ / "c" / "inner");
  EXPECT_EQ(paths.ToWindows(root_ / "c" / "inner" / "x"), "D:\\x");
  EXPECT_EQ(paths.ToWindows(root_ / "c" / "x"), "C:\\x");
}

TEST_F(WindowsPathsTest, RoundTripsThroughHost) {
  WindowsPaths paths = Paths();
  for (const char* windows : {"C:\\Temp\\VTX_Temp\\TREE.inf", "D:\\x", "C:\\"})
    EXPECT_EQ(paths.ToWindows(paths.ToHost(windows)), windows) << windows;
}

}  // namespace
}  // namespace vtx
