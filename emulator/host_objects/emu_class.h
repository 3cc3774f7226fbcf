#pragma once

#include <memory>
#include <vector>

#include "emulator/call_monitor.h"
#include "emulator/store/model.h"
#include "emulator/store/store.h"
#include "host/kv_class.h"

namespace vtx::emu {

// The class dictionary and its parts, read from the model.
// Every object here is a light view of the model: new ones are handed out on
// each call and the caller owns them; they keep the model alive.
// Thread-safety: one thread (the monitor is not thread-safe).
struct ClassContext {
  std::shared_ptr<const Model> model;
  std::shared_ptr<CallMonitor> monitor;
};

inline ClassContext ContextOf(const Store& store) {
  return ClassContext{store.SharedModel(), store.SharedMonitor()};
}

class EmuClasses : public KvClasses {
 public:
  explicit EmuClasses(ClassContext context) : c_(std::move(context)) {}

  Ref<KvClass> ClassById(int16_t class_id) override;
  Ref<KvClass> ClassByName(const std::string& name) override;
  Ref<KvClass> ClassByTableName(const std::string& table_name) override;
  Ref<KvClassList> GetAllClasses() override;

 private:
  ClassContext c_;
};

class EmuClassList : public KvClassList {
 public:
  EmuClassList(ClassContext context, std::vector<int16_t> ids)
      : c_(std::move(context)), ids_(std::move(ids)) {}

  int32_t GetCount() override;
  Ref<KvClass> Item(int32_t index) override;

 private:
  ClassContext c_;
  std::vector<int16_t> ids_;
};

// A class; its default value is its name.
class EmuClass : public KvClass {
 public:
  EmuClass(ClassContext context, const ClassDef& def) : c_(std::move(context)), def_(def) {}

  const ClassDef& Def() const { return def_; }

  Variant GetDefaultValue() override { return Variant(def_.name); }
  int16_t GetClassId() override;
  int16_t GetSuperClassId() override;
  std::string GetName() override;
  std::string GetTableName() override;
  int32_t GetClassKind() override;
  Ref<KvAttributes> GetAttributes() override;
  Ref<KvAttributes> GetIdentifierAttributes() override;
  Ref<KvClassLinks> GetClassLinks() override;
  int16_t GetHierarchyLinkClassId() override;
  Ref<KvAttribute> AttributeByName(const std::string& name, int32_t flags) override;
  bool HasAttribute(const std::string& name) override;

 private:
  ClassContext c_;
  const ClassDef& def_;
};

// Link classes whose ends touch the class's family (GetAll), or join it with
// another family (GetTo), in ascending class id.
class EmuClassLinks : public KvClassLinks {
 public:
  EmuClassLinks(ClassContext context, const ClassDef& def) : c_(std::move(context)), def_(def) {}

  Ref<KvClassList> GetAll() override;
  Ref<KvClassList> GetTo(int16_t class_id) override;

 private:
  ClassContext c_;
  const ClassDef& def_;
};

// A list of attributes of a class (all of them, or its identifiers).
class EmuAttributes : public KvAttributes {
 public:
  EmuAttributes(ClassContext context, const ClassDef& def, std::vector<int> indexes)
      : c_(std::move(context)), def_(def), indexes_(std::move(indexes)) {}

  int32_t GetCount() override;
  Ref<KvAttribute> Item(const Variant& index) override;
  Ref<KvAttribute> ItemByName(const std::string& name) override;
  Ref<KvClass> GetClass() override;

 private:
  ClassContext c_;
  const ClassDef& def_;
  std::vector<int> indexes_;
};

class EmuAttribute : public KvAttribute {
 public:
  EmuAttribute(ClassContext context, const ClassDef& def, int index)
      : c_(std::move(context)), def_(def), index_(index) {}

  const ClassDef& Owner() const { return def_; }
  const AttributeDef& Def() const { return def_.attributes[index_]; }

  Variant GetDefaultValue() override { return Variant(Def().name); }
  std::string GetName() override;
  std::string GetExternalName() override;
  int32_t GetAttributeType() override;
  int32_t GetLookupClassId() override;
  int32_t GetLength() override;
  bool IsExcludedFromHistory() override;

 private:
  ClassContext c_;
  const ClassDef& def_;
  int index_;
};

// The family of a class: its top class id.
int16_t FamilyOf(const Model& model, int16_t class_id);
// True when an object of class `object_class` may stand at a link end naming
// `end_class`: both belong to the same family.
bool FitsEnd(const Model& model, int16_t object_class, int16_t end_class);
// All attribute indexes of a class, in order.
std::vector<int> AllAttributes(const ClassDef& def);

}  // namespace vtx::emu
