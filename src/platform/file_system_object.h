#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "runtime/dispatch.h"

namespace vtx {

// The script runtime's file-system object ("Scripting.FileSystemObject"), as
// created through Platform::CreateObject. Paths are Windows paths.
// Every operation may raise a RuntimeError (76 path not found, 58 file
// already exists, 70 permission denied).
// Thread-safety: used on the thread that created it.
class FileSystemObject : public Dispatch {
 public:
  virtual bool FileExists(const std::string& path) = 0;
  virtual bool FolderExists(const std::string& path) = 0;
  // Creates the last level only; raises 76 when the parent is missing and 58
  // when the folder exists.
  virtual void CreateFolder(const std::string& path) = 0;
  virtual std::string BuildPath(const std::string& path, const std::string& name) = 0;
  // Kill: raises 53 when the file does not exist.
  virtual void DeleteFile(const std::string& path) = 0;
  std::string_view GetTypeName() const override { return "FileSystemObject"; }
  // Late-bound calls of the five methods above by name (any letter case).
  Variant Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) override;
};

}  // namespace vtx
