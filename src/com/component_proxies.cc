#include "com/proxy_factories.h"
#include "host/kv_host.h"
#include "platform/file_system_object.h"
#include "runtime/text.h"

namespace vtx::com {

namespace {

class IntegrationStoreProxy final : public TypedProxy<KvIntegrationStore> {
 public:
  using TypedProxy::TypedProxy;
  Ref<KvIntegrationEditor> GetEditor() override {
    return CallForObject<KvIntegrationEditor>("GetEditor");
  }
};

class IntegrationEditorProxy final : public TypedProxy<KvIntegrationEditor> {
 public:
  using TypedProxy::TypedProxy;
  // The edited object and the status come back through the last two
  // arguments, which the host writes.
  bool EditObject(const Ref<KvObject>& object, Ref<KvObject>& out_object,
                  int16_t& out_status) override {
    std::vector<Variant> args{Variant(object), Variant(out_object), Variant(out_status)};
    const Variant accepted =
        CallByName("EditObject", InvokeKind::kMethod, args, Passing::kByReference);
    out_object = args[1].IsNull() || args[1].IsEmpty() ? nullptr : args[1].ToObjectAs<KvObject>();
    out_status = args[2].ToInt16();
    return accepted.ToBool();
  }
};

class SessionUtilProxy final : public TypedProxy<KvSessionUtil> {
 public:
  using TypedProxy::TypedProxy;
  Variant NewIdentifierValue(const Ref<KvAttribute>& attribute, const std::string& text) override {
    return Call("NewIdentifierValue", attribute, text);
  }
};

class NlsCatalogProxy final : public TypedProxy<NlsCatalog> {
 public:
  using TypedProxy::TypedProxy;
  void SetLanguage(const std::string& language) override { Call("SetLanguage", language); }
  bool HasText(const std::string& language, const std::string& name_space, const std::string& key,
               const std::string& appendix, const std::string& version) override {
    return Call("HasText", language, name_space, key, appendix, version).ToBool();
  }
  std::string GetText(const std::string& name_space, const std::string& key,
                      const std::string& appendix, const std::string& version) override {
    return Call("GetText", name_space, key, appendix, version).ToString();
  }
};

// The script runtime's file-system object; deletion is the system's own
// (the statement Kill), with its error numbers.
class FileSystemObjectProxy final : public TypedProxy<FileSystemObject> {
 public:
  using TypedProxy::TypedProxy;
  bool FileExists(const std::string& path) override { return Call("FileExists", path).ToBool(); }
  bool FolderExists(const std::string& path) override {
    return Call("FolderExists", path).ToBool();
  }
  void CreateFolder(const std::string& path) override { Call("CreateFolder", path); }
  std::string BuildPath(const std::string& path, const std::string& name) override {
    return Call("BuildPath", path, name).ToString();
  }
  void DeleteFile(const std::string& path) override {
    const std::u16string wide = text::ToUtf16(path);
    if (DeleteFileW(reinterpret_cast<const wchar_t*>(wide.c_str()))) return;
    switch (GetLastError()) {
      case ERROR_FILE_NOT_FOUND:
      case ERROR_PATH_NOT_FOUND:
      case ERROR_INVALID_NAME:
        Raise(53, "File not found");
      case ERROR_ACCESS_DENIED:
      case ERROR_SHARING_VIOLATION:
        Raise(70, "Permission denied");
      default:
        Raise(75, "Path/File access error");
    }
  }
};

}  // namespace

void AddComponentProxies(ProxyFactories& factories) {
  AddProxy<KvIntegrationStore, IntegrationStoreProxy>(factories);
  AddProxy<KvIntegrationEditor, IntegrationEditorProxy>(factories);
  AddProxy<KvSessionUtil, SessionUtilProxy>(factories);
  AddProxy<NlsCatalog, NlsCatalogProxy>(factories);
  AddProxy<FileSystemObject, FileSystemObjectProxy>(factories);
}

}  // namespace vtx::com
