#include "platform/file_system_object.h"

#include <cctype>

namespace vtx {

namespace {

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

void ExpectArgs(const std::vector<Variant>& args, size_t count) {
  if (args.size() != count) Raise(450);
}

}  // namespace

Variant FileSystemObject::Invoke(std::string_view name, InvokeKind kind,
                                 std::vector<Variant>& args) {
  if (kind == InvokeKind::kPropertyPut) Raise(err::kNotSupported);
  if (SameName(name, "FileExists")) {
    ExpectArgs(args, 1);
    return FileExists(args[0].ToString());
  }
  if (SameName(name, "FolderExists")) {
    ExpectArgs(args, 1);
    return FolderExists(args[0].ToString());
  }
  if (SameName(name, "CreateFolder")) {
    ExpectArgs(args, 1);
    CreateFolder(args[0].ToString());
    return Variant();
  }
  if (SameName(name, "BuildPath")) {
    ExpectArgs(args, 2);
    return BuildPath(args[0].ToString(), args[1].ToString());
  }
  if (SameName(name, "DeleteFile")) {
    ExpectArgs(args, 1);
    DeleteFile(args[0].ToString());
    return Variant();
  }
  Raise(err::kNotSupported);
}

}  // namespace vtx
