#include <optional>
#include <string>

#include "host/kv_host.h"
#include "platform/file_system_object.h"
#include "platform/platform.h"
#include "runtime/text.h"
#include "utils/cls_utils.h"
#include "utils/loop_index.h"
#include "utils/reported.h"

namespace vtx {

namespace {

constexpr const char* kFallbackTemporaryDirectory = "C:\\Temp";
constexpr const char* kWorkFolder = "\\VTX_Temp";

Ref<FileSystemObject> NewFileSystemObject() {
  return CastTo<FileSystemObject>(Platform::Current().CreateObject(progid::kFileSystemObject));
}

std::string TrimmedEnvironment(const char* name) {
  return text::Trim(Platform::Current().GetEnvironmentVariable(name).value_or(""));
}

}  // namespace

bool clsUtils::CheckTableName(Ref<KvSession> KvSession, const std::string& TableName) {
  return Reported("CheckTableName", [&] {
    Ref<KvClass> found = KvSession->GetClasses()->ClassByTableName(TableName);
    // An unknown table gives Nothing, whose default value cannot be read.
    const Variant default_value = found->GetDefaultValue();
    return !CompareEqual(default_value, Variant(""));
  });
}

bool clsUtils::CheckAttributeInternalName(const Ref<vtx::KvClass>& KvClass,
                                          const std::string& AttributeInternalName) {
  return Reported("CheckAttributeInternalName",
                  [&] { return KvClass->HasAttribute(AttributeInternalName); });
}

bool clsUtils::CheckAttributeExternalName(const Ref<vtx::KvClass>& KvClass,
                                          const std::string& AttributeExternalName) {
  return Reported("CheckAttributeExternalName", [&] {
    Ref<KvAttributes> attributes = KvClass->GetAttributes();
    const int32_t count = attributes->GetCount();
    for (int16_t i = 0; i < count; i = NextIndex(i)) {
      if (attributes->Item(Variant(i))->GetExternalName() == AttributeExternalName) return true;
    }
    return false;
  });
}

bool clsUtils::CheckPathFile(const std::string& Path) {
  return Reported("CheckPathFile", [&] { return NewFileSystemObject()->FileExists(Path); });
}

bool clsUtils::CheckPathDirectory(const std::string& Path) {
  return Reported("CheckPathDirectory", [&] { return NewFileSystemObject()->FolderExists(Path); });
}

bool clsUtils::GetTemporaryDirectory(std::string& Directory) {
  return Reported("GetTemporaryDirectory", [&] {
    Directory = TrimmedEnvironment("TEMP");
    if (Directory.empty()) Directory = TrimmedEnvironment("TMP");
    if (Directory.empty()) Directory = kFallbackTemporaryDirectory;
    if (text::Right(Directory, 1) == "\\") {
      Directory = text::Left(Directory, text::Len(Directory) - 1);
    }

    Ref<FileSystemObject> file_system = NewFileSystemObject();
    if (!file_system->FolderExists(Directory)) file_system->CreateFolder(Directory);
    Directory += kWorkFolder;
    if (!file_system->FolderExists(Directory)) file_system->CreateFolder(Directory);
    return true;
  });
}

}  // namespace vtx
