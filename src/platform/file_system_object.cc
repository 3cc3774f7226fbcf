#include "platform/file_system_object.h"
#include "runtime/text.h"

#include <cctype>

namespace vtx {

namespace {

void ExpectArgs(const std::vector<Variant>& args, size_t count) {
  if (args.size() != count) Raise(450);
}

}  // namespace

Variant FileSystemObject::Invoke(std::string_view name, InvokeKind kind,
                                 std::vector<Variant>& args) {
  if (kind == InvokeKind::kPropertyPut) Raise(err::kNotSupported);
  if (text::SameNoCase(name, "FileExists")) {
    ExpectArgs(args, 1);
    return FileExists(args[0].ToString());
  }
  if (text::SameNoCase(name, "FolderExists")) {
    ExpectArgs(args, 1);
    return FolderExists(args[0].ToString());
  }
  if (text::SameNoCase(name, "CreateFolder")) {
    ExpectArgs(args, 1);
    CreateFolder(args[0].ToString());
    return Variant();
  }
  if (text::SameNoCase(name, "BuildPath")) {
    ExpectArgs(args, 2);
    return BuildPath(args[0].ToString(), args[1].ToString());
  }
  if (text::SameNoCase(name, "DeleteFile")) {
    ExpectArgs(args, 1);
    DeleteFile(args[0].ToString());
    return Variant();
  }
  Raise(err::kNotSupported);
}

}  // namespace vtx
