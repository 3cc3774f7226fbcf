#include "platform/scripted_platform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/file_system_object.h"
#include "platform/local_clock.h"
#include "runtime/ole_date.h"
#include "runtime/runtime_error.h"
#include "support/temp_folder.h"

namespace vtx {
namespace {

namespace fs = std::filesystem;

TEST(ScriptedPlatformTest, AnswersWhatItWasGiven) {
  ScriptedPlatform platform;
  platform.SetComputerName("WS-042");
  platform.SetUserName("jdoe");
  platform.SetEnvironment({{"DEBUG", "true"}, {"TEMP", "C:\\Temp"}});
  platform.SetClock(date::FromIso("2026-12-05T10:11:12"));

  EXPECT_EQ(platform.GetComputerName(), "WS-042");
  EXPECT_EQ(platform.GetUserName(), "jdoe");
  EXPECT_EQ(platform.GetEnvironmentVariable("DEBUG"), "true");
  EXPECT_EQ(platform.GetEnvironmentVariable("temp"), "C:\\Temp") << "names ignore case";
  EXPECT_EQ(platform.GetEnvironmentVariable("TMP"), std::nullopt);
  EXPECT_EQ(date::ToIso(platform.Now()), "2026-12-05T10:11:12");

  platform.SetEnvironmentVariable("Temp", "D:\\Tmp");
  EXPECT_EQ(platform.GetEnvironmentVariable("TEMP"), "D:\\Tmp") << "replaced, not duplicated";
  platform.UnsetEnvironmentVariable("tEMP");
  EXPECT_EQ(platform.GetEnvironmentVariable("TEMP"), std::nullopt);
}

TEST(ScriptedPlatformTest, UnsetClockIsTheRealOne) {
  ScriptedPlatform platform;
  EXPECT_NEAR(platform.Now(), LocalNowAsOleDate(), 2.0 / 86400);
}

TEST(ScriptedPlatformTest, RecordsMessagesInOrderAndAnswersTheDefaultButton) {
  ScriptedPlatform platform;
  EXPECT_EQ(platform.MessageBox("No History on this object", 16, "KORVEL"), 1);
  EXPECT_EQ(platform.MessageBox("Warning: 2", 0, std::nullopt), 1);
  EXPECT_EQ(platform.MessageBox("Sure?", 4 + 256, "VTX"), 7) << "second button is default";

  const std::vector<ShownMessage> expected = {{"No History on this object", 16, "KORVEL"},
                                              {"Warning: 2", 0, std::nullopt},
                                              {"Sure?", 260, "VTX"}};
  EXPECT_EQ(platform.Messages(), expected);

  PlatformRecordings taken = platform.TakeRecordings();
  EXPECT_EQ(taken.messages, expected);
  EXPECT_TRUE(platform.Messages().empty()) << "taking empties the recordings";
}

TEST(ScriptedPlatformTest, AnswersDialogsFromTheQueueThenRaises) {
  ScriptedPlatform platform;
  platform.QueueDialogAnswer({DialogAction::Kind::kOk, -1});
  platform.QueueDialogAnswer({DialogAction::Kind::kSelectAndOk, 1});
  DialogSnapshot dialog{"frmTemplates",   "Select a template", {"A", "B"},
                        {"OK", "Cancel"}, "MS Sans Serif",     -1};

  EXPECT_EQ(platform.AskDialog(dialog).kind, DialogAction::Kind::kOk);
  DialogAction second = platform.AskDialog(dialog);
  EXPECT_EQ(second.kind, DialogAction::Kind::kSelectAndOk);
  EXPECT_EQ(second.line, 1);
  EXPECT_FALSE(platform.AnswerWasMissing());

  try {
    platform.AskDialog(dialog);
    ADD_FAILURE() << "an exhausted queue must raise";
  } catch (const RuntimeError& e) {
    EXPECT_NE(e.Description().find("dialog answer is missing"), std::string::npos)
        << e.Description();
  }
  EXPECT_TRUE(platform.AnswerWasMissing());
  ASSERT_EQ(platform.Dialogs().size(), 3u) << "every showing is recorded, answered or not";
  EXPECT_EQ(platform.Dialogs()[0].lines, dialog.lines);
  EXPECT_EQ(platform.Dialogs()[0].caption, "Select a template");
}

TEST(ScriptedPlatformTest, RecordsFileChangesInWindowsForm) {
  const test::TempFolder drive("vtx_scripted_drive_c");
  const fs::path& folder = drive.Path();
  {
    ScriptedPlatform platform;
    platform.MapDrive("C:", folder);
    auto object = platform.CreateObject("scripting.filesystemobject");
    auto fso = CastTo<FileSystemObject>(object);
    ASSERT_TRUE(fso);
    fso->CreateFolder("C:\\Temp");
    fso->CreateFolder("C:\\Temp\\VTX_Temp");
    std::ofstream(folder / "Temp" / "VTX_Temp" / "TREE.inf") << "x";
    fso->DeleteFile("C:\\Temp\\VTX_Temp\\TREE.inf");

    EXPECT_EQ(platform.FilesCreated(),
              (std::vector<std::string>{"C:\\Temp", "C:\\Temp\\VTX_Temp"}));
    EXPECT_EQ(platform.FilesDeleted(), (std::vector<std::string>{"C:\\Temp\\VTX_Temp\\TREE.inf"}));
    PlatformRecordings taken = platform.TakeRecordings();
    EXPECT_EQ(taken.files_created.size(), 2u);
    EXPECT_TRUE(platform.FilesCreated().empty());
    EXPECT_TRUE(platform.FilesDeleted().empty());
  }
  EXPECT_TRUE(fs::is_directory(folder / "Temp")) << "a configured drive is left alone";
}

TEST(ScriptedPlatformTest, UnmappedDrivesLiveInAFreshFolderRemovedAtTheEnd) {
  fs::path drive_d;
  {
    ScriptedPlatform platform;
    auto object = platform.CreateObject("Scripting.FileSystemObject");
    auto fso = CastTo<FileSystemObject>(object);
    fso->CreateFolder("D:\\Work");
    drive_d = platform.Paths().DriveFolder('D');
    EXPECT_TRUE(fs::is_directory(drive_d / "Work"));
    EXPECT_EQ(platform.FilesCreated(), std::vector<std::string>{"D:\\Work"});
  }
  EXPECT_FALSE(fs::exists(drive_d));
}

TEST(ScriptedPlatformTest, CreatesOtherClassesFromItsRegistry) {
  ClassRegistry registry;
  registry.Register("Test.Thing", "{1}", [] { return Ref<Dispatch>(MakeRef<Dispatch>()); });
  ScriptedPlatform platform;
  platform.SetRegistry(&registry);
  EXPECT_FALSE(platform.CreateObject("Test.Thing").IsNothing());
  try {
    platform.CreateObject("Test.Other");
    ADD_FAILURE() << "unknown ProgID must raise";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), 429);
  }
}

}  // namespace
}  // namespace vtx
