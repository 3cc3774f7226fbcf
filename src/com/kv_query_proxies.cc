#include "com/proxy_factories.h"
#include "host/kv_host.h"

namespace vtx::com {

namespace {

class QueryFactoryProxy final : public TypedProxy<KvQueryFactory> {
 public:
  using TypedProxy::TypedProxy;
  Ref<KvQuery> GetQuery() override { return CallForObject<KvQuery>("GetQuery"); }
  void Run() override { Call("Run"); }
  void RunWithOptions(const Ref<KvOptions>& options) override { Call("RunWithOptions", options); }
  int32_t GetRowCount() override { return Call("GetRowCount").ToInt32(); }
  Ref<KvRecordList> GetResult() override { return CallForObject<KvRecordList>("GetResult"); }
};

class QueryProxy final : public TypedProxy<KvQuery> {
 public:
  using TypedProxy::TypedProxy;
  Ref<KvQueryClasses> GetQueryClasses() override {
    return CallForObject<KvQueryClasses>("GetQueryClasses");
  }
  Ref<KvQueryConditions> GetConditions() override {
    return CallForObject<KvQueryConditions>("GetConditions");
  }
  Ref<KvSelectList> GetSelectList() override {
    return CallForObject<KvSelectList>("GetSelectList");
  }
  void SetMaxRows(int32_t max_rows) override { Call("SetMaxRows", max_rows); }
  void SetQueryFlag(int32_t flag) override { Call("SetQueryFlag", flag); }
};

class QueryClassesProxy final : public TypedProxy<KvQueryClasses> {
 public:
  using TypedProxy::TypedProxy;
  void AddClass(int16_t class_id, const std::string& alias) override {
    Call("AddClass", class_id, alias);
  }
};

class QueryConditionsProxy final : public TypedProxy<KvQueryConditions> {
 public:
  using TypedProxy::TypedProxy;
  void Add(const std::string& connector, const std::string& attribute, const std::string& op,
           const Variant& value, int32_t flags, const std::string& alias) override {
    Call("Add", connector, attribute, op, value, flags, alias);
  }
};

class SelectListProxy final : public TypedProxy<KvSelectList> {
 public:
  using TypedProxy::TypedProxy;
  void Add(const std::string& column, const std::string& alias, int32_t flags) override {
    Call("Add", column, alias, flags);
  }
};

class SqlQueryProxy final : public TypedProxy<KvSqlQuery> {
 public:
  using TypedProxy::TypedProxy;
  void SetOptionA(int32_t value) override { Call("SetOptionA", value); }
  void SetOptionB(bool value) override { Call("SetOptionB", value); }
  void SetOptionC(int32_t value) override { Call("SetOptionC", value); }
  void SetOptionD(int32_t value) override { Call("SetOptionD", value); }
  void SetStatement(const std::string& statement) override { Call("SetStatement", statement); }
  void Execute() override { Call("Execute"); }
  Ref<KvRecordList> GetResult() override { return CallForObject<KvRecordList>("GetResult"); }
};

class TreeQueryProxy final : public TypedProxy<KvTreeQuery> {
 public:
  using TypedProxy::TypedProxy;
  void SetOptionA(int32_t value) override { Call("SetOptionA", value); }
  void SetOptionB(int32_t value) override { Call("SetOptionB", value); }
  void SetOptionC(int32_t value) override { Call("SetOptionC", value); }
  void SetLevel(int16_t levels) override { Call("SetLevel", levels); }
  Ref<KvObjects> GetRoots() override { return CallForObject<KvObjects>("GetRoots"); }
  Ref<KvQueryClasses> GetQueryClasses() override {
    return CallForObject<KvQueryClasses>("GetQueryClasses");
  }
  Ref<KvSelectList> GetSelectList() override {
    return CallForObject<KvSelectList>("GetSelectList");
  }
  void Execute() override { Call("Execute"); }
  Ref<KvCompositeObjects> GetResult(int32_t flags, bool composite) override {
    return CallForObject<KvCompositeObjects>("GetResult", flags, composite);
  }
};

}  // namespace

void AddQueryProxies(ProxyFactories& factories) {
  AddProxy<KvQueryFactory, QueryFactoryProxy>(factories);
  AddProxy<KvQuery, QueryProxy>(factories);
  AddProxy<KvQueryClasses, QueryClassesProxy>(factories);
  AddProxy<KvQueryConditions, QueryConditionsProxy>(factories);
  AddProxy<KvSelectList, SelectListProxy>(factories);
  AddProxy<KvSqlQuery, SqlQueryProxy>(factories);
  AddProxy<KvTreeQuery, TreeQueryProxy>(factories);
}

}  // namespace vtx::com
