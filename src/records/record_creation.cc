#include <string>

#include "platform/platform.h"
#include "records/cls_electronic_record.h"
#include "runtime/text.h"
#include "utils/cls_utils.h"

namespace vtx {

namespace {

constexpr const char* kElectronicRecordClassName = "Electronic Record";
constexpr const char* kOriginalObjectGlobal = "OriginalObject";

// The host's store mode and flags for an audit record; their meaning is the
// host's, only the values and their order are ours.
constexpr int32_t kRecordStoreMode = 2;

// GetComputerNameA is handed a buffer of 255 characters and that size: a
// name that needs more (254 characters plus the terminating NUL) makes the
// call fail and leaves the buffer empty.
constexpr int32_t kComputerNameBufferSize = 255;

std::string ComputerNameAsBufferHoldsIt() {
  std::string name = Platform::Current().GetComputerName();
  const auto nul = name.find('\0');
  if (nul != std::string::npos) name.resize(nul);
  if (text::Len(name) > kComputerNameBufferSize - 1) return "";
  return name;
}

// A Null part of the user's name stands for no text.
std::string NameOrEmpty(const Variant& value) { return value.IsNull() ? "" : value.ToString(); }

}  // namespace

Ref<KvClass> clsElectronicRecord::ElectronicRecordClass() {
  return Session()->GetClasses()->ClassByName(kElectronicRecordClassName);
}

void clsElectronicRecord::SetOriginObject(const Ref<KvObject>& value) {
  value->PrepareNew();
  value->Retrieve();
  origin_object_ = value;
}

bool clsElectronicRecord::CreateNewERObject(Ref<vtx::KvSession> KvSession,
                                            const std::string& Operation,
                                            Ref<KvRecordList>& RecordList) {
  SetSession(KvSession);
  SetCurrentUser(KvSession->GetUserInfo()->GetCurrentUser());
  if (!CurrentUser()) return false;
  CurrentUser()->Refresh();
  SetERClass(ElectronicRecordClass());

  Ref<KvObjectStore> store = Session()->GetObjectStore();
  Ref<KvObject> record = store->CreateObject(ERClass()->GetClassId());
  record->PrepareNew();
  record->ApplyClassDefaults();

  Status = FillUserIdField(record);
  if (Status == 0) Status = FillUserNameField(record);
  if (Status == 0) Status = FillMachineNameField(record);
  if (Status == 0) Status = FillUserNtIdField(record);
  if (Status == 0) {
    clsUtils utils;
    Ref<KvObject> managed = utils.GetKvObjectsFromRecList(Session(), RecordList)->Item(0);
    SetOriginObject(managed->NewInstance());
    OriginObject()->Refresh();
    Ref<KvObject> origin = OriginObject();
    Status = FillObjectFields(record, Operation, origin);
  }
  if (Status == 0) {
    Ref<vtx::KvSession> session = Session();
    Ref<KvObject> origin = OriginObject();
    Status = SetDescription(session, Operation, record, origin);
  }
  if (Status != 0) return false;

  Ref<KvOptions> options = Session()->GetObjectStore()->GetDefaultOptions()->Copy();
  options->SetMode(kRecordStoreMode);
  options->SetFlagA(false);
  options->SetFlagB(false);
  options->SetFlagC(false);
  record->Insert(options);
  Ref<KvObject> origin = OriginObject();
  LinkERObject(record, origin);
  return true;
}

int16_t clsElectronicRecord::SaveObjectAsGlobal(Ref<vtx::KvSession> KvSession,
                                                const std::string& /*Operation*/,
                                                Ref<KvRecordList>& RecordList) {
  clsUtils utils;
  Ref<KvObject> item = utils.GetKvObjectsFromRecList(KvSession, RecordList)->Item(0);
  if (!item) return 0;
  // A fresh instance read from the database: the values as stored, not the
  // values the user is editing.
  Ref<KvObject> copy = item->NewInstance();
  copy->PrepareNew();
  copy->Retrieve();
  KvSession->GetGlobals()->SetValue(kOriginalObjectGlobal, Variant(copy));
  if (KvSession->GetGlobals()->GetValue(kOriginalObjectGlobal).IsNull()) return 0;
  return kTrue16;
}

int16_t clsElectronicRecord::AddValue(Ref<KvObject>& Obj, const std::string& AttributeName,
                                      const Variant& anyVal) {
  const int16_t field_type =
      Variant(Obj->GetAttributes()->ItemByName(AttributeName)->GetAttributeType()).ToInt16();
  clsUtils utils;
  Status = utils.AddValues(Obj, AttributeName, field_type, anyVal, Session());
  return Status;
}

int16_t clsElectronicRecord::FillUserIdField(Ref<KvObject>& ERObject) {
  return AddValue(ERObject, "CN_USER_ID", Variant(CurrentUser()->GetObjectId()));
}

int16_t clsElectronicRecord::FillUserNameField(Ref<KvObject>& ERObject) {
  const std::string last_name = NameOrEmpty(CurrentUser()->GetValue("LAST_NAME"));
  const std::string first_name = NameOrEmpty(CurrentUser()->GetValue("FIRST_NAME"));
  return AddValue(ERObject, "CN_USER_NAME", Variant(last_name + ", " + first_name));
}

int16_t clsElectronicRecord::FillMachineNameField(Ref<KvObject>& ERObject) {
  return AddValue(ERObject, "CN_MACHINE_NAME", Variant(ComputerNameAsBufferHoldsIt()));
}

int16_t clsElectronicRecord::FillUserNtIdField(Ref<KvObject>& ERObject) {
  clsUtils utils;
  const std::string logon_name = utils.SystemUser();
  if (logon_name.empty()) return 0;
  return AddValue(ERObject, "CN_USER_NT_ID", Variant(logon_name));
}

int16_t clsElectronicRecord::FillObjectFields(Ref<KvObject>& ERObject, const std::string& Operation,
                                              Ref<vtx::KvObject>& KvObject) {
  Status = AddValue(ERObject, "CN_OBJECT_ID", Variant(KvObject->GetObjectId()));
  if (Status == 0) Status = AddValue(ERObject, "CN_CLASS_ID", Variant(KvObject->GetClassId()));
  if (Status == 0) Status = AddValue(ERObject, "CN_HOOK_OPERATION", Variant(Capitalize(Operation)));
  return Status;
}

std::string clsElectronicRecord::Capitalize(const std::string& Value) {
  return text::UCase(text::Left(Value, 1)) + text::LCase(text::Mid(Value, 2));
}

}  // namespace vtx
