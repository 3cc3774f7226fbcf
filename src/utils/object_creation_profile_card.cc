#include <string>

#include "host/kv_host.h"
#include "platform/platform.h"
#include "utils/cls_utils.h"
#include "utils/loop_index.h"
#include "utils/reported.h"

namespace vtx {

namespace {

constexpr const char* kProfileCardTable = "TDM_TITLES";

// The card's order: tab first, then position within the tab, both ascending.
Ref<KvRecordList> ProfileCardOrder() {
  auto order = CastTo<KvRecordList>(Platform::Current().CreateObject(progid::kRecordList));
  order->AddColumn("COL_NAME", 256, field_type::kText);
  order->AddColumn("TDM_DIRECTION", 4, field_type::kBoolean);
  order->SetValue("COL_NAME", 0, "MULTI_TAB");
  order->SetBooleanValue("TDM_DIRECTION", 0, true);
  order->SetValue("COL_NAME", 1, "TAB_ORDER");
  order->SetBooleanValue("TDM_DIRECTION", 1, true);
  return order;
}

}  // namespace

bool clsUtils::AreRequiredFieldsFilled(const Ref<KvSession>& KvSession,
                                       const Ref<vtx::KvClass>& KvClass,
                                       const Ref<vtx::KvRecord>& KvRecord) {
  return Reported("AreRequiredFieldsFilled", [&] {
    Ref<KvRecordList> fields;
    if (!GetFieldsInAProfileCard(KvSession, KvClass, fields)) return false;

    std::string message = "Error No: 00042\r\n";
    for (int16_t row = 0; row < fields->GetRecordCount(); row = NextIndex(row)) {
      if (fields->GetValue("REQUIERED", row).ToInt16() != 1) continue;
      const std::string column = fields->GetValue("COL_NAME", row).ToString();
      // Null is not empty: it never compares equal to "".
      if (!CompareEqual(KvRecord->GetValue(column), Variant(""))) continue;

      Ref<KvAttribute> attribute = KvClass->AttributeByName(column, 0);
      const std::string attribute_name = attribute->GetExternalName();
      const std::string class_name = KvClass->GetName();
      message += "Attribute '" + attribute_name + "'" + " is mandatory for Class '" + class_name +
                 "'. You must enter a value in the Profile Card.";
      Platform::Current().MessageBox(message, 16, "VTX");
      return false;
    }
    return true;
  });
}

bool clsUtils::GetFieldsInAProfileCard(const Ref<KvSession>& KvSession,
                                       const Ref<vtx::KvClass>& KvClass,
                                       Ref<vtx::KvRecordList>& KvRecordList) {
  return Reported("GetFieldsInAProfileCard", [&] {
    const std::string statement =
        std::string("Select * from ") + kProfileCardTable +
        " where SCREEN_NAME <> 'Single Object Form' " + "And CONTROL_TYPE > 0 " +
        "And CONTROL_TYPE <> 1 " + "And CONTROL_TYPE <> 7 " + "And CONTROL_TYPE <> 8 " +
        "And COL_NAME <> 'None' " + "And CLASS_ID = " + std::to_string(KvClass->GetClassId());
    Ref<vtx::KvRecordList> order = ProfileCardOrder();
    return GetDataFromTable(KvSession, statement, order, KvRecordList);
  });
}

bool clsUtils::GetDataFromTable(const Ref<KvSession>& KvSession, const std::string& Statement,
                                const Ref<vtx::KvRecordList>& SortQuery,
                                Ref<vtx::KvRecordList>& KvRecordList) {
  Ref<KvSqlQuery> query;
  const bool executed = Reported("GetDataFromTable", [&] {
    query = KvSession->GetObjectStore()->CreateQuery();
    query->SetOptionA(0);
    query->SetOptionB(true);
    query->SetOptionC(0);
    query->SetOptionD(0);
    query->SetStatement(Statement);
    query->Execute();
    return true;
  });
  if (!executed) return false;
  // Past the statement every step is best effort: the caller gets the rows
  // as far as they could be read and sorted.
  try {
    KvRecordList = query->GetResult();
  } catch (const RuntimeError&) {
  }
  int32_t count = 0;
  try {
    count = KvRecordList->GetRecordCount();
  } catch (const RuntimeError&) {
  }
  try {
    KvRecordList->Sort(SortQuery, count, 0);
  } catch (const RuntimeError&) {
  }
  return true;
}

}  // namespace vtx
