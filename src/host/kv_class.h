#pragma once

#include <cstdint>
#include <string>

#include "host/kv_forward.h"

namespace vtx {

// The class dictionary. Lookups of an unknown class return Nothing.
class KvClasses : public Dispatch {
 public:
  virtual Ref<KvClass> ClassById(int16_t class_id) = 0;
  virtual Ref<KvClass> ClassByName(const std::string& name) = 0;
  virtual Ref<KvClass> ClassByTableName(const std::string& table_name) = 0;
  // Every class, in ascending class id.
  virtual Ref<KvClassList> GetAllClasses() = 0;
  std::string_view GetTypeName() const override { return "KvClasses"; }
};

class KvClassList : public Dispatch {
 public:
  virtual int32_t GetCount() = 0;
  // Item from 0; raises 9 out of range.
  virtual Ref<KvClass> Item(int32_t index) = 0;
  std::string_view GetTypeName() const override { return "KvClassList"; }
};

// A class of the data model. Its default value (GetDefaultValue) is its name.
class KvClass : public Dispatch {
 public:
  virtual int16_t GetClassId() = 0;
  virtual int16_t GetSuperClassId() = 0;
  virtual std::string GetName() = 0;
  virtual std::string GetTableName() = 0;
  // 1, 2 keyed objects; 5, 9 lookup tables; 6 composition links; 7 relation links.
  virtual int32_t GetClassKind() = 0;
  virtual Ref<KvAttributes> GetAttributes() = 0;
  virtual Ref<KvAttributes> GetIdentifierAttributes() = 0;
  virtual Ref<KvClassLinks> GetClassLinks() = 0;
  virtual int16_t GetHierarchyLinkClassId() = 0;
  // Raises when the class has no such attribute.
  virtual Ref<KvAttribute> AttributeByName(const std::string& name, int32_t flags) = 0;
  virtual bool HasAttribute(const std::string& name) = 0;
  std::string_view GetTypeName() const override { return "KvClass"; }
};

// The link classes of one class.
class KvClassLinks : public Dispatch {
 public:
  // Link classes touching the class's family, in ascending class id.
  virtual Ref<KvClassList> GetAll() = 0;
  // Link classes between the class's family and the family of `class_id`.
  virtual Ref<KvClassList> GetTo(int16_t class_id) = 0;
  std::string_view GetTypeName() const override { return "KvClassLinks"; }
};

class KvAttributes : public Dispatch {
 public:
  virtual int32_t GetCount() = 0;
  // Item by 0-based index (any numeric Variant) or by name (string Variant);
  // raises 9 when there is no such item.
  virtual Ref<KvAttribute> Item(const Variant& index) = 0;
  // Raises 9 when there is no attribute of that name.
  virtual Ref<KvAttribute> ItemByName(const std::string& name) = 0;
  virtual Ref<KvClass> GetClass() = 0;
  std::string_view GetTypeName() const override { return "KvAttributes"; }
};

class KvAttribute : public Dispatch {
 public:
  virtual std::string GetName() = 0;
  virtual std::string GetExternalName() = 0;
  // Field type code: 1 text, 2 16-bit, 3 32-bit, 4 double, 10 reference, 15 Boolean, ...
  virtual int32_t GetAttributeType() = 0;
  virtual int32_t GetLookupClassId() = 0;
  virtual int32_t GetLength() = 0;
  virtual bool IsExcludedFromHistory() = 0;
  std::string_view GetTypeName() const override { return "KvAttribute"; }
};

}  // namespace vtx
