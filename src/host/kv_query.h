#pragma once

#include <cstdint>
#include <string>

#include "host/kv_forward.h"

namespace vtx {

// Structured queries. GetQuery returns the factory's one query on every call.
class KvQueryFactory : public Dispatch {
 public:
  virtual Ref<KvQuery> GetQuery() = 0;
  virtual void Run() = 0;
  virtual void RunWithOptions(const Ref<KvOptions>& options) = 0;
  virtual int32_t GetRowCount() = 0;
  // The rows of the last run; columns named by the selected attributes.
  virtual Ref<KvRecordList> GetResult() = 0;
  std::string_view GetTypeName() const override { return "KvQueryFactory"; }
};

class KvQuery : public Dispatch {
 public:
  virtual Ref<KvQueryClasses> GetQueryClasses() = 0;
  virtual Ref<KvQueryConditions> GetConditions() = 0;
  virtual Ref<KvSelectList> GetSelectList() = 0;
  virtual void SetMaxRows(int32_t max_rows) = 0;
  virtual void SetQueryFlag(int32_t flag) = 0;
  std::string_view GetTypeName() const override { return "KvQuery"; }
};

// Classes registered under one-letter aliases ("F", "S", "L").
class KvQueryClasses : public Dispatch {
 public:
  virtual void AddClass(int16_t class_id, const std::string& alias) = 0;
  std::string_view GetTypeName() const override { return "KvQueryClasses"; }
};

class KvQueryConditions : public Dispatch {
 public:
  // `connector` is "" (AND) or "OR"; a text value ending in "*" compared with
  // "=" matches every text that begins with what precedes the "*".
  virtual void Add(const std::string& connector, const std::string& attribute,
                   const std::string& op, const Variant& value, int32_t flags,
                   const std::string& alias) = 0;
  std::string_view GetTypeName() const override { return "KvQueryConditions"; }
};

class KvSelectList : public Dispatch {
 public:
  virtual void Add(const std::string& column, const std::string& alias, int32_t flags) = 0;
  std::string_view GetTypeName() const override { return "KvSelectList"; }
};

// A plain SQL statement over the database.
class KvSqlQuery : public Dispatch {
 public:
  virtual void SetOptionA(int32_t value) = 0;
  virtual void SetOptionB(bool value) = 0;
  virtual void SetOptionC(int32_t value) = 0;
  virtual void SetOptionD(int32_t value) = 0;
  virtual void SetStatement(const std::string& statement) = 0;
  virtual void Execute() = 0;
  virtual Ref<KvRecordList> GetResult() = 0;
  std::string_view GetTypeName() const override { return "KvSqlQuery"; }
};

// Expansion of the hierarchy below root objects, through hierarchy links.
class KvTreeQuery : public Dispatch {
 public:
  virtual void SetOptionA(int32_t value) = 0;
  virtual void SetOptionB(int32_t value) = 0;
  virtual void SetOptionC(int32_t value) = 0;
  virtual void SetLevel(int16_t levels) = 0;
  virtual Ref<KvObjects> GetRoots() = 0;
  virtual Ref<KvQueryClasses> GetQueryClasses() = 0;
  virtual Ref<KvSelectList> GetSelectList() = 0;
  // Fails when the result would exceed the host's MaxQuerySize.
  virtual void Execute() = 0;
  virtual Ref<KvCompositeObjects> GetResult(int32_t flags, bool composite) = 0;
  std::string_view GetTypeName() const override { return "KvTreeQuery"; }
};

}  // namespace vtx
