#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "host/kv_host.h"
#include "runtime/method_table.h"

namespace vtx {

// The add-in's helper class over the Korvel object model. Stateless: every
// user creates its own instance. Arguments the language passes by reference
// and that the operation writes are non-const references here; Variant
// parameters that may be omitted take Variant::Missing().
// Thread-safety: an instance is used on one thread (apartment model).
class clsUtils : public Dispatch {
 public:
  // Record and attribute helpers (record_helpers.cc).
  std::string SystemUser();
  int16_t AddValues(const Ref<KvObject>& KvObject, const std::string& FieldName, int16_t FieldType,
                    const Variant& AnyValue, const Ref<KvSession>& Session);
  Variant Null2Zero(const Variant& anyVal);
  int16_t AddValueAsLookUp(const Ref<KvObject>& Obj, const Ref<KvSession>& Session,
                           const std::string& FieldName, int16_t FieldType, int16_t LookClass,
                           const Variant& AnyValue);
  std::string GetAttributeByExternalName(const Ref<KvClass>& KvClass,
                                         const std::string& strExternalName);
  Ref<KvObjects> GetKvObjectsFromRecList(const Ref<KvSession>& KvSession,
                                         const Ref<KvRecordList>& Record1);
  int16_t GetLookUpClassId(const Ref<KvAttributes>& Attributes, const std::string& AttributeName);
  int16_t GetLinkClassID(const Ref<KvObject>& ReltaedObj, const Ref<KvClass>& Class2);
  bool GetThePrimaryIdentifierInAClass(const Ref<KvSession>& KvSession, const Ref<KvClass>& KvClass,
                                       Ref<KvAttribute>& KvClassAttribute);
  bool GetThePrimaryIdentifierNameInAClass(const Ref<KvSession>& KvSession,
                                           const Ref<KvClass>& KvClass, std::string& AttributeName);

  // Error reporting and message formatting (error_reporting.cc).
  void GetError(const std::string& FunctionName, const RuntimeError& error);
  // The error is read only when the report is shown, so a caller's error
  // object is not touched on machines without reports.
  void GetError(const std::string& FunctionName, const std::function<RuntimeError()>& read_error);
  std::string FillWithParams(const std::string& NLSMessage, const Variant& Params);
  bool SetFont(const Ref<Dispatch>& GUI);

  // History viewer, report and deletion (src/history/).
  void ViewHistory(Ref<KvSession>& KvSession, Ref<KvRecordList>& FirstRec);
  Ref<KvClass> GetLinkClass(const Ref<KvObject>& StartObject, const Ref<KvClass>& RelatedClass);
  int16_t GenerateHistoryReport(Ref<KvSession>& KvSession, Ref<KvRecordList>& FirstRec);
  bool DeleteRelatedHistory(Ref<KvSession>& KvSession, Ref<KvRecordList>& FirstRec);

  // Object creation and profile-card checks (object_creation.cc).
  bool CreateAndLinkObject(Ref<KvSession> KvSession, Ref<KvObject>& KvChildObject,
                           const Ref<KvObject>& KvFatherObject, const std::string& ChildTableName,
                           const Ref<KvRecord>& KvAttributesValue, bool IsIntegrationUsed,
                           const Ref<KvRecord>& KvLinkAttributes = nullptr);
  bool GetNewAttributeValue(Ref<KvSession> KvSession, const Ref<KvRecordList>& FirstRec,
                            const std::string& AttributeInternalName, Variant& NewAttributeValue);
  bool AreRequiredFieldsFilled(const Ref<KvSession>& KvSession, const Ref<KvClass>& KvClass,
                               const Ref<KvRecord>& KvRecord);
  bool IncrementSequenceNumber(const Ref<KvSession>& KvSession, const Ref<KvClass>& KvClass);
  bool RefreshCreatedLink(const Ref<KvSession>& KvSession, const Ref<KvObject>& KvLinkObject);
  bool GetFieldsInAProfileCard(const Ref<KvSession>& KvSession, const Ref<KvClass>& KvClass,
                               Ref<KvRecordList>& KvRecordList);
  bool GetDataFromTable(const Ref<KvSession>& KvSession, const std::string& Statement,
                        const Ref<KvRecordList>& SortQuery, Ref<KvRecordList>& KvRecordList);

  // Name and path checks (name_checks.cc).
  bool CheckTableName(Ref<KvSession> KvSession, const std::string& TableName);
  bool CheckAttributeInternalName(const Ref<KvClass>& KvClass,
                                  const std::string& AttributeInternalName);
  bool CheckAttributeExternalName(const Ref<KvClass>& KvClass,
                                  const std::string& AttributeExternalName);
  bool CheckPathFile(const std::string& Path);
  bool CheckPathDirectory(const std::string& Path);
  bool GetTemporaryDirectory(std::string& Directory);

  // Project and tree queries (tree_queries.cc).
  bool ExpandTree(const Ref<KvSession>& KvSession, const Ref<KvObjects>& KvObjects, int16_t Level,
                  Ref<KvRecordList>& KvRecordList,
                  const Ref<KvStrings>& KvAttributesToDisplay = nullptr, bool UseOrdering = false);
  bool GetObjectsFromCompositeObjects(const Ref<KvSession>& KvSession,
                                      const Ref<KvCompositeObjects>& KvCompositeObjects,
                                      const std::string& Role, Ref<KvObjects>& KvObjects);
  bool GetGeneralLinkClassByClassTableNames(const Ref<KvSession>& KvSession,
                                            const std::string& TableName1,
                                            const std::string& TableName2,
                                            Ref<KvClass>& KvLinkClass,
                                            const Variant& LinkIndexToTake = Variant::Missing());
  bool GetObjectsOnDeskTopInProjects(const Ref<KvSession>& KvSession,
                                     const Ref<KvObjects>& KvProjects, const std::string& TableName,
                                     Ref<KvObjects>& KvObjectsOnTheDeskTop,
                                     const std::string& AttributeNames = "");
  bool GetAllObjectsInAProject(const Ref<KvSession>& KvSession, const Ref<KvObjects>& KvProjects,
                               const std::string& SuperClassTableName,
                               Ref<KvRecordList>& KvRecordList,
                               const Ref<KvStrings>& KvAttributes = nullptr);
  bool GetAllObjectsInAProject2(const Ref<KvSession>& KvSession, const Ref<KvObjects>& KvProjects,
                                const std::string& SuperClassTableName, Ref<KvObjects>& KvObjects,
                                const Ref<KvStrings>& KvAttributes = nullptr);
  bool GetFreeObjects(const Ref<KvSession>& KvSession, const std::string& SuperClassTableName,
                      Ref<KvObjects>& KvObjects, const Ref<vtx::KvObjects>& KvProjects = nullptr,
                      bool OnlyOrphans = false);

  // Object list display and string joining (list_display.cc).
  bool ShowObjects(const Ref<KvSession>& KvSession, const Ref<KvObjects>& KvProposedObjects,
                   Ref<KvObject>& KvSelectedObject, int32_t KRViewType, bool Modal,
                   const std::string& KvViewTitle);
  bool ConvertKvStringsToString(const Ref<KvStrings>& KvStrings, std::string& Result,
                                const std::string& Separateur = "");

  // Late binding by name (the scenario runner and the COM layer).
  Variant Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) override;
  std::string_view GetTypeName() const override { return "clsUtils"; }
  static const MethodTable<clsUtils>& Methods();

 private:
  bool HasProperty(const Ref<Dispatch>& object, const std::string& name);
};

// Each group of operations adds its late-bound entries to the table
// (defined next to the operations they expose).
void AddRecordHelperMethods(MethodTable<clsUtils>& table);
void AddErrorReportingMethods(MethodTable<clsUtils>& table);
void AddHistoryMethods(MethodTable<clsUtils>& table);
void AddObjectCreationMethods(MethodTable<clsUtils>& table);
void AddNameCheckMethods(MethodTable<clsUtils>& table);
void AddTreeQueryMethods(MethodTable<clsUtils>& table);
void AddListDisplayMethods(MethodTable<clsUtils>& table);

}  // namespace vtx
