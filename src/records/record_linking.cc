#include "records/cls_electronic_record.h"
#include "utils/cls_utils.h"

namespace vtx {

namespace {

// The host's store mode for a record's link; its meaning is the host's.
constexpr int32_t kLinkStoreMode = 2;

}  // namespace

int16_t clsElectronicRecord::LinkERObject(Ref<KvObject>& ERObject, Ref<KvObject>& KvOriginObj) {
  const int32_t kind = KvOriginObj->GetClass()->GetClassKind();
  if (class_kind::IsLink(kind)) {
    // A link has no history of its own: the record goes to both of its ends.
    Ref<KvObject> first_end;
    Ref<KvObject> second_end;
    if (kind == class_kind::kRelation) {
      GetDescriptionObjectLogicLink(KvOriginObj, first_end, second_end);
    } else {
      GetDescriptionObjectHierLink(KvOriginObj, first_end, second_end);
    }
    LinkBetweenKvObjects(ERObject, first_end);
    LinkBetweenKvObjects(ERObject, second_end);
  } else {
    LinkBetweenKvObjects(ERObject, KvOriginObj);
  }
  return 0;
}

int16_t clsElectronicRecord::LinkBetweenKvObjects(Ref<KvObject>& FirstObject,
                                                  Ref<KvObject>& SecondObject) {
  // A missing link must never undo a record already stored: every failure
  // here only leaves that link out.
  try {
    clsUtils utils;
    Ref<KvClass> second_class = SecondObject->GetClass();
    const int16_t link_class_id = utils.GetLinkClassID(FirstObject, second_class);
    Ref<KvObject> link;
    if (link_class_id > 0) link = FirstObject->CreateLink(link_class_id, SecondObject);
    if (link) {
      Ref<KvOptions> options = Session()->GetObjectStore()->GetDefaultOptions()->Copy();
      options->SetMode(kLinkStoreMode);
      options->SetFlagB(false);
      link->Insert(options);
    }
  } catch (const RuntimeError&) {
  }
  return 0;
}

int16_t clsElectronicRecord::GetDescriptionObjectLogicLink(Ref<vtx::KvObject>& KvObject,
                                                           Ref<vtx::KvObject>& FObject,
                                                           Ref<vtx::KvObject>& SObject) {
  if (!KvObject->GetValue("CLASS_ID1").IsNull()) {
    Ref<KvObjectStore> store = Session()->GetObjectStore();
    const int16_t class_id = KvObject->GetValue("CLASS_ID1").ToInt16();
    const int32_t object_id = KvObject->GetValue("OBJECT_ID1").ToInt32();
    FObject = store->GetObjectById(class_id, object_id);
  }
  if (!KvObject->GetValue("CLASS_ID2").IsNull()) {
    Ref<KvObjectStore> store = Session()->GetObjectStore();
    const int16_t class_id = KvObject->GetValue("CLASS_ID2").ToInt16();
    const int32_t object_id = KvObject->GetValue("OBJECT_ID2").ToInt32();
    SObject = store->GetObjectById(class_id, object_id);
  }
  // A failure has already left as an error, so nothing is pending here.
  return 0;
}

int16_t clsElectronicRecord::GetDescriptionObjectHierLink(Ref<vtx::KvObject>& KvObject,
                                                          Ref<vtx::KvObject>& FObject,
                                                          Ref<vtx::KvObject>& SObject) {
  const LinkEndClasses ends = GetHierLinkEndClasses(KvObject);
  if (ends.ParentClassId > 0) {
    Ref<KvObjectStore> store = Session()->GetObjectStore();
    const int32_t object_id = KvObject->GetValue("PAR_OBJECT_ID").ToInt32();
    FObject = store->GetObjectById(ends.ParentClassId, object_id);
  }
  if (ends.SonClassId > 0) {
    Ref<KvObjectStore> store = Session()->GetObjectStore();
    const int32_t object_id = KvObject->GetValue("SON_OBJECT_ID").ToInt32();
    SObject = store->GetObjectById(ends.SonClassId, object_id);
  }
  return (!FObject || !SObject) ? 1 : 0;
}

LinkEndClasses clsElectronicRecord::GetHierLinkEndClasses(Ref<vtx::KvObject>& KvObject) {
  LinkEndClasses ends;
  const int16_t superclass = GetTheSuperClassOfTheLink(KvObject->GetClassId());

  // A composition link stores only the object ids of its ends; their classes
  // come from the family that owns the link class.
  Ref<KvQueryFactory> factory = Session()->GetObjectStore()->GetQueryFactory();
  Ref<KvQuery> query = factory->GetQuery();
  query->GetQueryClasses()->AddClass(superclass, "F");
  const Variant parent_id = KvObject->GetValue("PAR_OBJECT_ID");
  query->GetConditions()->Add("", "OBJECT_ID", "=", parent_id, 0, "F");
  const Variant son_id = KvObject->GetValue("SON_OBJECT_ID");
  query->GetConditions()->Add("OR", "OBJECT_ID", "=", son_id, 0, "F");
  query->GetSelectList()->Add("CLASS_ID", "F", -1);
  query->GetSelectList()->Add("OBJECT_ID", "F", -1);
  factory->Run();

  const int32_t row_count = factory->GetRowCount();
  if (row_count > 0) {
    Ref<KvRecordList> rows = factory->GetResult();
    const int32_t rows_to_read = row_count > 1 ? 2 : 1;
    for (int32_t row = 0; row < rows_to_read; ++row) {
      const Variant object_id = rows->GetValue("OBJECT_ID", row);
      if (CompareEqual(object_id, parent_id)) {
        ends.ParentClassId = rows->GetValue("CLASS_ID", row).ToInt16();
      }
      if (CompareEqual(object_id, son_id)) {
        ends.SonClassId = rows->GetValue("CLASS_ID", row).ToInt16();
      }
    }
  }
  return ends;
}

int16_t clsElectronicRecord::GetTheSuperClassOfTheLink(int16_t LinkClassID) {
  Ref<KvClassList> classes = Session()->GetClasses()->GetAllClasses();
  for (int32_t i = 0; i < classes->GetCount(); ++i) {
    Ref<KvClass> candidate = classes->Item(Variant(i).ToInt16());
    if (candidate->GetClassKind() == class_kind::kKeyed1 &&
        candidate->GetHierarchyLinkClassId() == LinkClassID) {
      return candidate->GetClassId();
    }
  }
  return 0;
}

}  // namespace vtx
