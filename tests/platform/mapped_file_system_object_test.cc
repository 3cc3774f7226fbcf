#include "platform/mapped_file_system_object.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "runtime/runtime_error.h"
#include "support/temp_folder.h"

namespace vtx {
namespace {

namespace fs = std::filesystem;

class MappedFileSystemObjectTest : public testing::Test {
 protected:
  void SetUp() override {
    auto paths = std::make_shared<WindowsPaths>(root_ / "drives");
    paths->MapDrive("C:", root_ / "c");
    fso_ =
        MakeRef<MappedFileSystemObject>(paths, [this](FileChange change, const std::string& path) {
          changes_.emplace_back(change, path);
        });
  }

  void WriteFile(const fs::path& relative) {
    fs::create_directories((root_ / relative).parent_path());
    std::ofstream(root_ / relative) << "x";
  }

  // The error number `run` raised, 0 when none.
  template <class F>
  static int32_t ErrorOf(F run) {
    try {
      run();
    } catch (const RuntimeError& e) {
      return e.Number();
    }
    return 0;
  }

  const test::TempFolder folder_{"vtx_fso"};
  const fs::path root_ = folder_.Path();
  Ref<MappedFileSystemObject> fso_;
  std::vector<std::pair<FileChange, std::string>> changes_;
};

TEST_F(MappedFileSystemObjectTest, FilesAndFoldersAreToldApart) {
  WriteFile("c/Temp/TREE.inf");
  struct Case {
    const char* path;
    bool file;
    bool folder;
  };
  const Case cases[] = {{"C:\\Temp\\TREE.inf", true, false},
                        {"c:\\temp\\tree.INF", true, false},
                        {"C:\\Temp", false, true},
                        {"C:\\Temp\\", false, true},
                        {"C:\\", false, true},
                        {"C:", false, true},
                        {"D:\\", false, true},  // an unmapped drive still exists
                        {"C:\\Missing", false, false},
                        {"", false, false}};
  for (const Case& c : cases) {
    EXPECT_EQ(fso_->FileExists(c.path), c.file) << c.path;
    EXPECT_EQ(fso_->FolderExists(c.path), c.folder) << c.path;
  }
}

TEST_F(MappedFileSystemObjectTest, CreatesOneLevelAtATime) {
  EXPECT_EQ(ErrorOf([&] { fso_->CreateFolder("C:\\Temp\\VTX_Temp"); }), 76);
  EXPECT_FALSE(fs::exists(root_ / "c" / "Temp"));

  fso_->CreateFolder("C:\\Temp");
  fso_->CreateFolder("C:\\TEMP\\VTX_Temp");
  EXPECT_TRUE(fs::is_directory(root_ / "c" / "Temp" / "VTX_Temp"));
  EXPECT_TRUE(fso_->FolderExists("C:\\Temp\\VTX_Temp"));

  const std::vector<std::pair<FileChange, std::string>> expected = {
      {FileChange::kFolderCreated, "C:\\Temp"}, {FileChange::kFolderCreated, "C:\\Temp\\VTX_Temp"}};
  EXPECT_EQ(changes_, expected);
}

TEST_F(MappedFileSystemObjectTest, CreateFolderErrors) {
  WriteFile("c/Temp/file.txt");
  struct Case {
    const char* name;
    const char* path;
    int32_t error;
  };
  const Case cases[] = {{"ExistingFolder", "C:\\Temp", 58},
                        {"ExistingFolderOtherCase", "C:\\tEmP", 58},
                        {"ExistingFile", "C:\\Temp\\file.txt", 58},
                        {"MissingParent", "C:\\Nope\\Sub", 76},
                        {"ParentIsAFile", "C:\\Temp\\file.txt\\Sub", 76},
                        {"EmptyPath", "", 76}};
  for (const Case& c : cases)
    EXPECT_EQ(ErrorOf([&] { fso_->CreateFolder(c.path); }), c.error) << c.name;
  EXPECT_TRUE(changes_.empty());
}

TEST_F(MappedFileSystemObjectTest, DeletesFilesOnly) {
  WriteFile("c/Temp/VTX_Temp/TREE.inf");
  EXPECT_EQ(ErrorOf([&] { fso_->DeleteFile("C:\\Temp\\VTX_Temp"); }), 53);
  EXPECT_EQ(ErrorOf([&] { fso_->DeleteFile("C:\\Temp\\missing.inf"); }), 53);
  fso_->DeleteFile("C:\\Temp\\VTX_Temp\\tree.inf");
  EXPECT_FALSE(fs::exists(root_ / "c" / "Temp" / "VTX_Temp" / "TREE.inf"));
  const std::vector<std::pair<FileChange, std::string>> expected = {
      {FileChange::kFileDeleted, "C:\\Temp\\VTX_Temp\\TREE.inf"}};
  EXPECT_EQ(changes_, expected);
}

TEST_F(MappedFileSystemObjectTest, BuildPathJoinsWithOneBackslash) {
  struct Case {
    const char* path;
    const char* name;
    const char* expected;
  };
  const Case cases[] = {{"C:\\Temp", "TREE.inf", "C:\\Temp\\TREE.inf"},
                        {"C:\\Temp\\", "TREE.inf", "C:\\Temp\\TREE.inf"},
                        {"C:\\Temp\\\\", "TREE.inf", "C:\\Temp\\TREE.inf"},
                        {"C:\\Temp", "\\TREE.inf", "C:\\Temp\\TREE.inf"},
                        {"C:\\", "x", "C:\\x"},
                        {"", "TREE.inf", "TREE.inf"}};
  for (const Case& c : cases)
    EXPECT_EQ(fso_->BuildPath(c.path, c.name), c.expected) << c.path << " + " << c.name;
}

TEST_F(MappedFileSystemObjectTest, LateBoundCallsReachTheMethods) {
  std::vector<Variant> args{Variant("C:\\Temp"), Variant("x")};
  EXPECT_EQ(fso_->CallMethod("buildpath", args), Variant("C:\\Temp\\x"));
  std::vector<Variant> one{Variant("C:\\")};
  EXPECT_EQ(fso_->CallMethod("FolderExists", one), Variant(true));
  EXPECT_EQ(ErrorOf([&] { fso_->CallMethod("FolderExists", args); }), 450);
  EXPECT_EQ(ErrorOf([&] { fso_->CallMethod("CopyFile", args); }), 438);
}

}  // namespace
}  // namespace vtx
