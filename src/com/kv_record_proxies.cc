#include "com/proxy_factories.h"
#include "host/kv_host.h"

namespace vtx::com {

namespace {

class RecordProxy final : public TypedProxy<KvRecord> {
 public:
  using TypedProxy::TypedProxy;
  Variant GetValue(const std::string& name) override { return Call("GetValue", name); }
  std::string GetValueAsString(const std::string& name) override {
    return Call("GetValueAsString", name).ToString();
  }
  void SetValue(const std::string& name, const Variant& value) override {
    Call("SetValue", name, value);
  }
  void SetStringValue(const std::string& name, const std::string& value) override {
    Call("SetStringValue", name, value);
  }
  void SetBooleanValue(const std::string& name, bool value) override {
    Call("SetBooleanValue", name, value);
  }
  void SetIntegerValue(const std::string& name, int16_t value) override {
    Call("SetIntegerValue", name, value);
  }
  void SetLongValue(const std::string& name, int32_t value) override {
    Call("SetLongValue", name, value);
  }
  void SetDoubleValue(const std::string& name, double value) override {
    Call("SetDoubleValue", name, value);
  }
  void SetType7Value(const std::string& name, double value) override {
    Call("SetType7Value", name, value);
  }
  void SetType8Value(const std::string& name, double value) override {
    Call("SetType8Value", name, value);
  }
  void SetType13Value(const std::string& name, double value) override {
    Call("SetType13Value", name, value);
  }
  Ref<KvHeader> GetHeader() override { return CallForObject<KvHeader>("GetHeader"); }
  void AddColumn(const std::string& name, int32_t length, int32_t type) override {
    Call("AddColumn", name, length, type);
  }
};

class RecordListProxy final : public TypedProxy<KvRecordList> {
 public:
  using TypedProxy::TypedProxy;
  int32_t GetRecordCount() override { return Call("GetRecordCount").ToInt32(); }
  int32_t GetColumnCount() override { return Call("GetColumnCount").ToInt32(); }
  std::string GetColumnName(int32_t column) override {
    return Call("GetColumnName", column).ToString();
  }
  Ref<KvHeader> GetHeader() override { return CallForObject<KvHeader>("GetHeader"); }
  void AddColumn(const std::string& name, int32_t length, int32_t type) override {
    Call("AddColumn", name, length, type);
  }
  Variant GetValue(const std::string& column, int32_t row) override {
    return Call("GetValue", column, row);
  }
  Variant GetValueAt(int32_t column, int32_t row) override {
    return Call("GetValueAt", column, row);
  }
  std::string GetStringValue(const std::string& column, int32_t row) override {
    return Call("GetStringValue", column, row).ToString();
  }
  void SetValue(const std::string& column, int32_t row, const Variant& value) override {
    Call("SetValue", column, row, value);
  }
  void SetBooleanValue(const std::string& column, int32_t row, bool value) override {
    Call("SetBooleanValue", column, row, value);
  }
  Ref<KvRecord> GetRecord(int32_t row) override {
    return CallForObject<KvRecord>("GetRecord", row);
  }
  void GoToRow(int32_t row) override { Call("GoToRow", row); }
  int32_t HasGuiSelection() override { return Call("HasGuiSelection").ToInt32(); }
  void Sort(const Ref<KvRecordList>& sort_spec, int32_t count, int32_t flags) override {
    Call("Sort", sort_spec, count, flags);
  }
  int32_t FindRecord(const Ref<KvRecord>& record) override {
    return Call("FindRecord", record).ToInt32();
  }
};

class HeaderProxy final : public TypedProxy<KvHeader> {
 public:
  using TypedProxy::TypedProxy;
  int32_t GetCount() override { return Call("GetCount").ToInt32(); }
  Ref<KvHeaderField> Item(int32_t index) override {
    return CallForObject<KvHeaderField>("Item", index);
  }
  bool HasColumn(const std::string& name) override { return Call("HasColumn", name).ToBool(); }
};

class HeaderFieldProxy final : public TypedProxy<KvHeaderField> {
 public:
  using TypedProxy::TypedProxy;
  std::string GetName() override { return Call("GetName").ToString(); }
  int32_t GetLength() override { return Call("GetLength").ToInt32(); }
  int32_t GetType() override { return Call("GetType").ToInt32(); }
};

class StringsProxy final : public TypedProxy<KvStrings> {
 public:
  using TypedProxy::TypedProxy;
  int32_t GetCount() override { return Call("GetCount").ToInt32(); }
  std::string Item(int32_t index) override { return Call("Item", index).ToString(); }
  void Add(const std::string& value) override { Call("Add", value); }
  int32_t IndexOf(const std::string& value) override { return Call("IndexOf", value).ToInt32(); }
};

}  // namespace

void AddRecordProxies(ProxyFactories& factories) {
  AddProxy<KvRecord, RecordProxy>(factories);
  AddProxy<KvRecordList, RecordListProxy>(factories);
  AddProxy<KvHeader, HeaderProxy>(factories);
  AddProxy<KvHeaderField, HeaderFieldProxy>(factories);
  AddProxy<KvStrings, StringsProxy>(factories);
}

}  // namespace vtx::com
