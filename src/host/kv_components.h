#pragma once

#include <cstdint>
#include <string>

#include "host/kv_forward.h"

namespace vtx {

// "KvIntegrationTool.KvIntegrationStore".
class KvIntegrationStore : public Dispatch {
 public:
  virtual Ref<KvIntegrationEditor> GetEditor() = 0;
  std::string_view GetTypeName() const override { return "KvIntegrationStore"; }
};

class KvIntegrationEditor : public Dispatch {
 public:
  // Lets the user edit the object; False when the user gave up.
  virtual bool EditObject(const Ref<KvObject>& object, Ref<KvObject>& out_object,
                          int16_t& out_status) = 0;
  std::string_view GetTypeName() const override { return "KvIntegrationEditor"; }
};

// "KvUtil.KvSessionUtil".
class KvSessionUtil : public Dispatch {
 public:
  virtual Variant NewIdentifierValue(const Ref<KvAttribute>& attribute,
                                     const std::string& text) = 0;
  std::string_view GetTypeName() const override { return "KvSessionUtil"; }
};

// The maker's language catalog, created by ProgID `kNlsCatalogProgId`.
class NlsCatalog : public Dispatch {
 public:
  virtual void SetLanguage(const std::string& language) = 0;
  virtual bool HasText(const std::string& language, const std::string& name_space,
                       const std::string& key, const std::string& appendix,
                       const std::string& version) = 0;
  // The text in the language last set.
  virtual std::string GetText(const std::string& name_space, const std::string& key,
                              const std::string& appendix, const std::string& version) = 0;
  std::string_view GetTypeName() const override { return "NlsCatalog"; }
};

// ProgIDs of the host components and outside components the add-in creates.
namespace progid {
inline constexpr const char* kGuiServices = "KvGUISrv.KvGUIServices";
inline constexpr const char* kCommonGui = "KvGUISrv.KvCommonGUI";
inline constexpr const char* kGuiServicesNotify = "KvGuiSrv.KVGuiServices";
inline constexpr const char* kIntegrationStore = "KvIntegrationTool.KvIntegrationStore";
inline constexpr const char* kSessionUtil = "KvUtil.KvSessionUtil";
inline constexpr const char* kRecordList = "KvRecList.KvRecordList";
// A free-standing, empty record (KvRecord) of the same library.
inline constexpr const char* kRecord = "KvRecList.KvRecord";
inline constexpr const char* kQuickReport = "KvQuickReport.GenerateRpt";
inline constexpr const char* kNlsCatalog = "Orbent.NlsCatalog";
inline constexpr const char* kFileSystemObject = "Scripting.FileSystemObject";
}  // namespace progid

}  // namespace vtx
