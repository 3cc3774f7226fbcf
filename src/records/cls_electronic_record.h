#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/kv_host.h"
#include "runtime/method_table.h"

namespace vtx {

// The two class ids at the ends of a composition link; 0 where not found.
struct LinkEndClasses {
  int16_t ParentClassId = 0;
  int16_t SonClassId = 0;
};

// The audit trail: creates, describes, stores and links one object of the
// class "Electronic Record" per operation the host performed on a managed
// object, and keeps the stored state of an object under the session global
// "OriginalObject" so that a later update can be described.
//
// Errors: only the steps said to trap errors do so (GetAttDisplayValue,
// LinkBetweenKvObjects); everywhere else a failing host call escapes as a
// RuntimeError. Statuses are 0 for success, non-zero for failure.
//
// Ownership: returned Refs and strings belong to the caller; the instance keeps
// references to the session and host objects of the last call in its fields.
// Thread-safety: an instance serves one call on one thread (apartment model).
class clsElectronicRecord : public Dispatch {
 public:
  // Outcome of the last filling step; each step runs only while it is 0.
  int16_t Status = 0;

  // Public to the facade. True when the record was stored.
  bool CreateNewERObject(Ref<KvSession> KvSession, const std::string& Operation,
                         Ref<KvRecordList>& RecordList);
  // -1 when the stored copy of the list's first object was kept in the session
  // global "OriginalObject", 0 otherwise. `Operation` is not read.
  int16_t SaveObjectAsGlobal(Ref<KvSession> KvSession, const std::string& Operation,
                             Ref<KvRecordList>& RecordList);

  // Filling (record_creation.cc).
  int16_t AddValue(Ref<KvObject>& Obj, const std::string& AttributeName, const Variant& anyVal);
  int16_t FillUserIdField(Ref<KvObject>& ERObject);
  int16_t FillUserNameField(Ref<KvObject>& ERObject);
  int16_t FillMachineNameField(Ref<KvObject>& ERObject);
  int16_t FillUserNtIdField(Ref<KvObject>& ERObject);
  int16_t FillObjectFields(Ref<KvObject>& ERObject, const std::string& Operation,
                           Ref<KvObject>& KvObject);
  // First character upper case, the rest lower case.
  std::string Capitalize(const std::string& Value);

  // Change description (change_description.cc).
  int16_t SetDescription(Ref<KvSession>& Session, const std::string& Operation,
                         Ref<KvObject>& ERObject, Ref<KvObject>& KvObject);
  // Empty when no attribute line was added after the header.
  std::string RetrieveObjectsDelta(Ref<KvSession>& Session, const std::string& Operation,
                                   Ref<KvObject>& FirstObject, Ref<KvObject>& SecondObject,
                                   int32_t KvClassType);
  // Never fails: errors give "", an unreadable reference "**DELETED**".
  std::string GetAttDisplayValue(Ref<KvSession>& Session, Ref<KvObject>& KvObject,
                                 const std::string& HeaderName);
  std::string GetPrimaryKey(Ref<KvObject>& KvObject);

  // Linking and link ends (record_linking.cc).
  int16_t LinkERObject(Ref<KvObject>& ERObject, Ref<KvObject>& KvOriginObj);
  // Absorbs every failure; always 0.
  int16_t LinkBetweenKvObjects(Ref<KvObject>& FirstObject, Ref<KvObject>& SecondObject);
  // The ends are written only when found (the out arguments keep what the
  // caller passed otherwise).
  int16_t GetDescriptionObjectLogicLink(Ref<KvObject>& KvObject, Ref<vtx::KvObject>& FObject,
                                        Ref<vtx::KvObject>& SObject);
  int16_t GetDescriptionObjectHierLink(Ref<KvObject>& KvObject, Ref<vtx::KvObject>& FObject,
                                       Ref<vtx::KvObject>& SObject);
  LinkEndClasses GetHierLinkEndClasses(Ref<KvObject>& KvObject);
  int16_t GetTheSuperClassOfTheLink(int16_t LinkClassID);

  // Late binding by name (the scenario runner and the COM layer).
  Variant Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) override;
  std::string_view GetTypeName() const override { return "clsElectronicRecord"; }
  static const MethodTable<clsElectronicRecord>& Methods();

 private:
  friend class ElectronicRecordFieldAccess;  // lets tests preset the fields

  Ref<vtx::KvSession> Session() const { return session_; }
  void SetSession(const Ref<vtx::KvSession>& value) { session_ = value; }
  Ref<KvClass> ERClass() const { return er_class_; }
  void SetERClass(const Ref<KvClass>& value) { er_class_ = value; }
  Ref<KvObject> CurrentUser() const { return current_user_; }
  void SetCurrentUser(const Ref<KvObject>& value) { current_user_ = value; }
  Ref<KvObject> OriginObject() const { return origin_object_; }
  // Reads the stored state (PrepareNew, then Retrieve) before keeping it.
  void SetOriginObject(const Ref<KvObject>& value);
  // The class named "Electronic Record", or Nothing.
  Ref<KvClass> ElectronicRecordClass();

  Ref<vtx::KvSession> session_;
  Ref<KvClass> er_class_;
  Ref<KvObject> current_user_;
  Ref<KvObject> origin_object_;
};

}  // namespace vtx
