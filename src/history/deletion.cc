#include "history/history_texts.h"
#include "host/kv_host.h"
#include "utils/cls_utils.h"
#include "utils/loop_index.h"

namespace vtx {

namespace {

constexpr int32_t kObjectsDeleted = 2;

}  // namespace

// Silent handler: any failure ends the deletion with False and no message;
// objects deleted before it stay deleted and the user interface is not told.
bool clsUtils::DeleteRelatedHistory(Ref<KvSession>& KvSession, Ref<KvRecordList>& FirstRec) {
  try {
    Ref<KvRecord> first = FirstRec->GetRecord(0);
    Ref<KvObject> object = KvSession->GetObjectStore()->ObjectFromRecord(first, false);

    // Only "S": every History object related to the object goes, whatever
    // link class relates it.
    Ref<KvQuery> query = KvSession->GetObjectStore()->NewQuery();
    Ref<KvClass> history_class = KvSession->GetClasses()->ClassByName(history::kHistoryClassName);
    query->GetQueryClasses()->AddClass(history_class->GetClassId(), "S");

    Ref<KvObjects> histories = object->GetRelatedObjects(query);
    if (histories.IsNothing()) return true;

    Ref<KvOptions> options = KvSession->GetObjectStore()->GetDefaultOptions()->Copy();
    options->SetModeC(2);
    options->SetMode(2);
    options->SetModeB(2);

    if (histories->GetCount() <= 0) return true;
    for (int16_t i = 0; i < histories->GetCount(); i = NextIndex(i)) {
      histories->Item(i)->Delete(options);
    }

    auto gui = CastTo<KvGuiServices>(KvSession->CreateHostComponent(progid::kGuiServicesNotify));
    gui->GetNotifier()->NotifyObjectsChanged(kObjectsDeleted, histories, false);
    return true;
  } catch (const RuntimeError&) {
    return false;
  }
}

}  // namespace vtx
