#include <optional>
#include <string>

#include "host/kv_host.h"
#include "platform/file_system_object.h"
#include "platform/platform.h"
#include "runtime/text.h"
#include "utils/cls_utils.h"
#include "utils/loop_index.h"

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
  try {
    Ref<KvClass> found = KvSession->GetClasses()->ClassByTableName(TableName);
    // An unknown table gives Nothing, whose default value cannot be read.
    const Variant default_value = found->GetDefaultValue();
    return !CompareEqual(default_value, Variant(""));
  } catch (const RuntimeError& error) {
    GetError("CheckTableName", error);
    return false;
  }
}

bool clsUtils::CheckAttributeInternalName(const Ref<vtx::KvClass>& KvClass,
                                          const std::string& AttributeInternalName) {
  try {
    return KvClass->HasAttribute(AttributeInternalName);
  } catch (const RuntimeError& error) {
    GetError("CheckAttributeInternalName", error);
    return false;
  }
}

bool clsUtils::CheckAttributeExternalName(const Ref<vtx::KvClass>& KvClass,
                                          const std::string& AttributeExternalName) {
  try {
    Ref<KvAttributes> attributes = KvClass->GetAttributes();
    const int32_t count = attributes->GetCount();
    for (int16_t i = 0; i < count; i = NextIndex(i)) {
      if (attributes->Item(Variant(i))->GetExternalName() == AttributeExternalName) return true;
    }
    return false;
  } catch (const RuntimeError& error) {
    GetError("CheckAttributeExternalName", error);
    return false;
  }
}

bool clsUtils::CheckPathFile(const std::string& Path) {
  try {
    return NewFileSystemObject()->FileExists(Path);
  } catch (const RuntimeError& error) {
    GetError("CheckPathFile", error);
    return false;
  }
}

bool clsUtils::CheckPathDirectory(const std::string& Path) {
  try {
    return NewFileSystemObject()->FolderExists(Path);
  } catch (const RuntimeError& error) {
    GetError("CheckPathDirectory", error);
    return false;
  }
}

bool clsUtils::GetTemporaryDirectory(std::string& Directory) {
  try {
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
  } catch (const RuntimeError& error) {
    GetError("GetTemporaryDirectory", error);
    return false;
  }
}

}  // namespace vtx
