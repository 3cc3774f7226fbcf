#include "history/history_texts.h"
#include "history/quick_report_call.h"
#include "host/kv_host.h"
#include "platform/platform.h"
#include "utils/cls_utils.h"
#include "utils/loop_index.h"

namespace vtx {

namespace {

constexpr const char* kNothingToReport =
    "You just select objects which are not linked to History objects !!!";

}  // namespace

// No handler: a failing host call or report component reaches the caller.
int16_t clsUtils::GenerateHistoryReport(Ref<KvSession>& KvSession, Ref<KvRecordList>& FirstRec) {
  Ref<KvObjects> collected = KvSession->GetObjectStore()->CreateObjects();

  for (int16_t row = 0; row < FirstRec->GetRecordCount(); row = NextIndex(row)) {
    Ref<KvRecord> record = FirstRec->GetRecord(row);
    Ref<KvObject> object = KvSession->GetObjectStore()->ObjectFromRecord(record, true);
    Ref<KvQuery> query = KvSession->GetObjectStore()->NewQuery();
    query->GetQueryClasses()->AddClass(object->GetClass()->GetSuperClassId(), "F");
    query->GetQueryClasses()->AddClass(
        KvSession->GetClasses()->ClassByName(history::kHistoryClassName)->GetClassId(), "S");

    Ref<KvClass> link_class =
        GetLinkClass(object, KvSession->GetClasses()->ClassByName(history::kHistoryClassName));
    if (link_class.IsNothing()) {
      Platform::Current().MessageBox(history::kDataModelError, history::kDataModelErrorStyle,
                                     history::kAddInTitle);
      return 0;
    }
    query->GetQueryClasses()->AddClass(link_class->GetClassId(), "L");

    Ref<KvObjects> histories = object->GetRelatedObjects(query);
    // Fresh instances, so the report sees the stored values of each history
    // object even when the same one is reached from several rows.
    for (int16_t j = 0; j < histories->GetCount(); j = NextIndex(j)) {
      Ref<KvObject> instance = histories->Item(j)->NewInstance();
      instance->PrepareNew();
      instance->Retrieve();
      collected->Add(instance);
    }
  }

  if (collected->GetCount() == 0) {
    Platform::Current().MessageBox(kNothingToReport, history::kCriticalStop, history::kAddInTitle);
    return 0;
  }

  return history::CallQuickReport(KvSession, collected);
}

}  // namespace vtx
