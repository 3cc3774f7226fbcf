#pragma once

#include <string>

#include "host/kv_forward.h"

namespace vtx {

// The live Korvel session: entry to everything the add-in reaches.
// Every operation may raise a RuntimeError (the host's failure).
class KvSession : public Dispatch {
 public:
  virtual Ref<KvObjectStore> GetObjectStore() = 0;
  virtual Ref<KvClasses> GetClasses() = 0;
  virtual Ref<KvGlobals> GetGlobals() = 0;
  virtual Ref<KvUserInfo> GetUserInfo() = 0;
  virtual std::string GetLanguage() = 0;
  virtual Ref<KvConfiguration> GetConfiguration() = 0;
  // A host component by ProgID ("KvGUISrv.KvCommonGUI", ...).
  virtual Ref<Dispatch> CreateHostComponent(const std::string& prog_id) = 0;
  virtual Ref<KvStrings> CreateStringList() = 0;
  std::string_view GetTypeName() const override { return "KvSession"; }
};

// Session values by name; an unset name reads as Null.
class KvGlobals : public Dispatch {
 public:
  virtual Variant GetValue(const std::string& name) = 0;
  virtual void SetValue(const std::string& name, const Variant& value) = 0;
  std::string_view GetTypeName() const override { return "KvGlobals"; }
};

class KvUserInfo : public Dispatch {
 public:
  // The logged-in user's object, or Nothing.
  virtual Ref<KvObject> GetCurrentUser() = 0;
  virtual int32_t GetCurrentUserId() = 0;
  std::string_view GetTypeName() const override { return "KvUserInfo"; }
};

// Configuration values by path ("$Admin\System Font\FontName").
class KvConfiguration : public Dispatch {
 public:
  virtual Variant GetValue(const std::string& path) = 0;
  std::string_view GetTypeName() const override { return "KvConfiguration"; }
};

}  // namespace vtx
