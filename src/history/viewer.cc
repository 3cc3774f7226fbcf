#include <string>

#include "history/history_texts.h"
#include "host/kv_host.h"
#include "platform/platform.h"
#include "runtime/text.h"
#include "utils/cls_utils.h"
#include "utils/loop_index.h"

namespace vtx {

namespace {

constexpr const char* kNoHistory = "No History on this object";
constexpr const char* kNoHistoryTitle = "KORVEL";
constexpr const char* kCaptionPrefix = "History of object ";
constexpr int32_t kHistoryListView = 8;

void ShowNoHistory() {
  Platform::Current().MessageBox(kNoHistory, history::kCriticalStop, kNoHistoryTitle);
}

}  // namespace

void clsUtils::ViewHistory(Ref<KvSession>& KvSession, Ref<KvRecordList>& FirstRec) {
  try {
    Ref<KvRecord> first = FirstRec->GetRecord(0);
    Ref<KvObject> object = KvSession->GetObjectStore()->ObjectFromRecord(first, false);

    std::string identifier_name;
    if (!GetThePrimaryIdentifierNameInAClass(KvSession, object->GetClass(), identifier_name)) {
      return;
    }
    const std::string identifier = object->GetData()->GetValueAsString(identifier_name);

    Ref<KvQuery> query = KvSession->GetObjectStore()->GetQueryFactory()->GetQuery();
    query->GetQueryClasses()->AddClass(object->GetClass()->GetSuperClassId(), "F");
    Ref<KvClass> history_class = KvSession->GetClasses()->ClassByName(history::kHistoryClassName);
    query->GetQueryClasses()->AddClass(history_class->GetClassId(), "S");

    Ref<KvClass> link_class = GetLinkClass(object, history_class);
    if (link_class.IsNothing()) {
      Platform::Current().MessageBox(history::kDataModelError, history::kDataModelErrorStyle,
                                     history::kAddInTitle);
      return;
    }
    query->GetQueryClasses()->AddClass(link_class->GetClassId(), "L");

    Ref<KvObjects> histories = object->GetRelatedObjects(query);
    if (histories.IsNothing()) {
      ShowNoHistory();
      return;
    }

    auto common_gui = CastTo<KvCommonGui>(KvSession->CreateHostComponent(progid::kCommonGui));
    int32_t passes = 0;
    if (histories->GetCount() == 0) {
      ShowNoHistory();
      return;
    }
    // One view per history object, each filled with all of them: the host
    // decides what repeated creation means; the user sees the last one.
    Ref<KvView> view;
    while (passes < histories->GetCount()) {
      view = common_gui->GetViewFactory()->CreateView(kHistoryListView);
      view->SetCaption(kCaptionPrefix + identifier);
      ++passes;
      Ref<KvRecordList> rows = histories->GetCopy()->GetRecordList();
      Ref<KvObjects> view_objects =
          KvSession->GetObjectStore()->ObjectsFromRecords(rows, Variant(int16_t{0}));
      view->GetContents()->AddObjects(view_objects);
    }
    view->GetWindow()->Show();
  } catch (const RuntimeError& error) {
    GetError("ViewHistory", error);
  }
}

Ref<KvClass> clsUtils::GetLinkClass(const Ref<KvObject>& StartObject,
                                    const Ref<KvClass>& RelatedClass) {
  Ref<KvSession> session = StartObject->GetObjectStore()->GetSession();
  const std::string name1 =
      session->GetClasses()->ClassById(StartObject->GetClass()->GetSuperClassId())->GetName();
  const std::string name2 =
      session->GetClasses()->ClassById(RelatedClass->GetSuperClassId())->GetName();
  Ref<KvClassList> links = RelatedClass->GetClassLinks()->GetAll();

  if (name2 != name1) {
    for (int16_t i = 0; i < links->GetCount(); i = NextIndex(i)) {
      Ref<KvClass> link = links->Item(i);
      const std::string link_name = link->GetName();
      if (text::InStr(link_name, name2) > 0 && text::InStr(link_name, name1) > 0) return link;
    }
    return nullptr;
  }
  // A link between two classes of the same family names the family twice.
  for (int16_t i = 0; i < links->GetCount(); i = NextIndex(i)) {
    Ref<KvClass> link = links->Item(i);
    const std::string link_name = link->GetName();
    const int32_t first = text::InStr(link_name, name1);
    if (text::InStr(first + 1, link_name, name1) > 0) return link;
  }
  return nullptr;
}

}  // namespace vtx
