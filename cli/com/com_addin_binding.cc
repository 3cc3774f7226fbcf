#include "cli/com/com_addin_binding.h"

#include <fmt/format.h>

#include "cli/com/dll_import_redirection.h"
#include "cli/scenario/run_error.h"
#include "com/com_variant.h"
#include "com/object_bridge.h"
#include "emulator/com/host_objects.h"
#include "host/kv_components.h"
#include "platform/file_system_object.h"
#include "platform/platform.h"
#include "runtime/runtime_error.h"
#include "runtime/text.h"

namespace vtx::cli {
namespace {

// The classes Korvel itself creates from the DLL.
bool ServedByDll(const AddinClass& add_in_class) {
  return add_in_class.name == "Application" || add_in_class.name == "clsNLS";
}

// `value` as the other side of COM receives it, through a real VARIANT.
Variant Across(const Variant& value, const com::ObjectBridge& from, const com::ObjectBridge& to) {
  com::VariantHolder held;
  com::ToVariant(value, held.value, from);
  return com::FromVariant(held.value, to);
}

Variant ToAddIn(const Variant& value) {
  return Across(value, emu::kHostObjects, com::kAddInObjects);
}
Variant ToHost(const Variant& value) {
  return Across(value, com::kAddInObjects, emu::kHostObjects);
}

// The script runtime's file-system object as the add-in gets it here: its
// methods are calls of the object through COM; Kill (DeleteFile) is the
// system's own, and the system is the scenario's machine, whose files the
// platform's object maps.
class FileSystemWithScenarioKill : public FileSystemObject {
 public:
  explicit FileSystemWithScenarioKill(Ref<Dispatch> machine_files)
      : machine_files_(CastTo<FileSystemObject>(machine_files)),
        late_bound_(ToAddIn(Variant(machine_files)).ToObject()),
        typed_(CastTo<FileSystemObject>(late_bound_)) {}

  bool FileExists(const std::string& path) override { return typed_->FileExists(path); }
  bool FolderExists(const std::string& path) override { return typed_->FolderExists(path); }
  void CreateFolder(const std::string& path) override { typed_->CreateFolder(path); }
  std::string BuildPath(const std::string& path, const std::string& name) override {
    return typed_->BuildPath(path, name);
  }
  void DeleteFile(const std::string& path) override { machine_files_->DeleteFile(path); }
  Variant Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) override {
    return late_bound_->Invoke(name, kind, args);
  }

 private:
  Ref<FileSystemObject> machine_files_;
  Ref<Dispatch> late_bound_;
  Ref<FileSystemObject> typed_;
};

// The run's platform as add-in code in this process sees it: the host's
// components it creates by ProgID arrive as COM objects, like every other
// host object.
class ComponentsThroughCom : public Platform {
 public:
  explicit ComponentsThroughCom(Platform& inner) : inner_(inner) {}
  std::string GetComputerName() override { return inner_.GetComputerName(); }
  std::string GetUserName() override { return inner_.GetUserName(); }
  std::optional<std::string> GetEnvironmentVariable(const std::string& name) override {
    return inner_.GetEnvironmentVariable(name);
  }
  int32_t MessageBox(const std::string& text, int32_t style,
                     const std::optional<std::string>& title) override {
    return inner_.MessageBox(text, style, title);
  }
  DialogAction AskDialog(const DialogSnapshot& dialog) override { return inner_.AskDialog(dialog); }
  double Now() override { return inner_.Now(); }
  Ref<Dispatch> CreateObject(const std::string& prog_id) override {
    Ref<Dispatch> created = inner_.CreateObject(prog_id);
    if (text::SameNoCase(prog_id, progid::kFileSystemObject))
      return MakeRef<FileSystemWithScenarioKill>(created);
    return ToAddIn(Variant(created)).ToObject();
  }

 private:
  Platform& inner_;
};

// Brings the arguments back to the host's side when the call ends, however.
class ArgumentsBack {
 public:
  explicit ArgumentsBack(std::vector<Variant>& args) : args_(args) {}
  ~ArgumentsBack() {
    for (Variant& arg : args_) {
      try {
        arg = ToHost(arg);
      } catch (const RuntimeError&) {
        // A value with no VARIANT form came back as it was: it stays.
      }
    }
  }
  ArgumentsBack(const ArgumentsBack&) = delete;
  ArgumentsBack& operator=(const ArgumentsBack&) = delete;

 private:
  std::vector<Variant>& args_;
};

}  // namespace

Ref<Dispatch> ComAddinBinding::Create(const AddinClass& add_in_class) {
  if (!ServedByDll(add_in_class)) {
    // A constructor may call the host too (a settings object translates).
    ComponentsThroughCom platform(Platform::Current());
    ScopedPlatform installed(&platform);
    return add_in_class.create();
  }
  const std::string prog_id = "VTX_HA." + add_in_class.name;
  const std::u16string wide = text::ToUtf16(prog_id);
  CLSID clsid{};
  IDispatch* object = nullptr;
  HRESULT hr = CLSIDFromProgID(reinterpret_cast<LPCOLESTR>(wide.c_str()), &clsid);
  if (SUCCEEDED(hr))
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                          reinterpret_cast<void**>(&object));
  if (FAILED(hr))
    throw RunError(fmt::format("cannot create {} (HRESULT 0x{:08X}): is VTX_HA.dll registered?",
                               prog_id, static_cast<uint32_t>(hr)));
  RedirectDllImports(GetModuleHandleW(L"VTX_HA.dll"));
  Ref<Dispatch> created = com::ImportObject(object);
  object->Release();
  return created;
}

Variant ComAddinBinding::Invoke(const AddinClass& add_in_class, Dispatch& instance,
                                const MethodInfo& method, std::vector<Variant>& args) {
  ComponentsThroughCom platform(Platform::Current());
  ScopedPlatform installed(&platform);
  for (Variant& arg : args) arg = ToAddIn(arg);
  ArgumentsBack back(args);
  return ToHost(add_in_class.invoke(instance, method, args));
}

}  // namespace vtx::cli
