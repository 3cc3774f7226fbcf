#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "runtime/text.h"
#include "utils/cls_utils.h"
#include "utils/reported.h"

namespace vtx {

namespace {

// The buffer SystemUser hands to GetUserNameA, terminating NUL included.
constexpr int32_t kUserNameBuffer = 100;

// Collection indexes are 16-bit: a longer walk overflows as it would in the
// language.
int16_t Index16(int32_t index) {
  if (index > INT16_MAX) Raise(err::kOverflow);
  return static_cast<int16_t>(index);
}

// Narrowing to a 16-bit class id, with the language's overflow check.
int16_t ClassId16(int32_t class_id) { return Variant(class_id).ToInt16(); }

}  // namespace

std::string clsUtils::SystemUser() {
  std::string name = Platform::Current().GetUserName();
  // A name that does not fit the buffer makes the call fail and leaves the
  // buffer as it was: all NULs.
  if (text::Len(name) >= kUserNameBuffer) return "";
  return name.substr(0, name.find('\0'));
}

Variant clsUtils::Null2Zero(const Variant& anyVal) {
  if (anyVal.IsNull()) return Variant(static_cast<int16_t>(0));
  return anyVal;
}

int16_t clsUtils::AddValues(const Ref<vtx::KvObject>& KvObject, const std::string& FieldName,
                            int16_t FieldType, const Variant& AnyValue,
                            const Ref<KvSession>& Session) {
  switch (FieldType) {
    case field_type::kText:
      KvObject->GetData()->SetStringValue(FieldName, AnyValue.ToString());
      break;
    case field_type::kBoolean:
      KvObject->GetData()->SetBooleanValue(FieldName, AnyValue.ToBool());
      break;
    case field_type::kDate:
    case field_type::kType11:
    case field_type::kType12:
      KvObject->GetData()->SetType7Value(FieldName, AnyValue.ToDouble());
      break;
    case field_type::kDouble:
      KvObject->GetData()->SetDoubleValue(FieldName, Null2Zero(AnyValue).ToDouble());
      break;
    case field_type::kInt32:
      KvObject->GetData()->SetLongValue(FieldName, Null2Zero(AnyValue).ToInt32());
      break;
    case field_type::kInt16:
      KvObject->GetData()->SetIntegerValue(FieldName, Null2Zero(AnyValue).ToInt16());
      break;
    case field_type::kType8:
      KvObject->GetData()->SetType8Value(FieldName, AnyValue.ToDouble());
      break;
    case field_type::kType13:
      KvObject->GetData()->SetType13Value(FieldName, AnyValue.ToDouble());
      break;
    case field_type::kReference: {
      Ref<KvAttribute> attribute = KvObject->GetClass()->GetAttributes()->ItemByName(FieldName);
      int16_t look_class = ClassId16(attribute->GetLookupClassId());
      int32_t kind = Session->GetClasses()->ClassById(look_class)->GetClassKind();
      // Lookup tables store the id of the entry, not the text the caller has.
      if (class_kind::IsLookup(kind)) {
        AddValueAsLookUp(KvObject, Session, FieldName, FieldType, look_class, AnyValue);
      } else {
        KvObject->GetData()->SetValue(FieldName, AnyValue);
      }
      break;
    }
    case field_type::kType6:
      KvObject->GetData()->SetValue(FieldName, Variant(AnyValue.ToString()));
      break;
    default:
      break;
  }
  return 0;
}

int16_t clsUtils::AddValueAsLookUp(const Ref<KvObject>& Obj, const Ref<KvSession>& Session,
                                   const std::string& FieldName, int16_t /*FieldType*/,
                                   int16_t LookClass, const Variant& AnyValue) {
  Ref<KvLookupTable> table = Session->GetObjectStore()->GetLookupTable(LookClass);
  Ref<KvLookupItem> item = table->FindItem(AnyValue.ToString());
  if (!item) return 1;
  Obj->GetData()->SetValue(FieldName, Variant(item->GetId()));
  return 0;
}

std::string clsUtils::GetAttributeByExternalName(const Ref<vtx::KvClass>& KvClass,
                                                 const std::string& strExternalName) {
  Ref<KvAttributes> attributes = KvClass->GetAttributes();
  const int32_t count = attributes->GetCount();
  const std::string wanted = text::LCase(strExternalName);
  for (int32_t i = 0; i <= count - 1; ++i) {
    Ref<KvAttribute> attribute = attributes->Item(Variant(Index16(i)));
    if (text::LCase(attribute->GetExternalName()) == wanted) return attribute->GetName();
  }
  return "";
}

Ref<KvObjects> clsUtils::GetKvObjectsFromRecList(const Ref<vtx::KvSession>& KvSession,
                                                 const Ref<KvRecordList>& Record1) {
  if (!Record1) return nullptr;
  Ref<KvObjects> objects;
  if (Record1->HasGuiSelection() != 0) {
    // The list stands for what the user selected in the active view.
    Ref<KvGuiServices> gui =
        CastTo<KvGuiServices>(KvSession->CreateHostComponent(progid::kGuiServices));
    objects = gui->GetMainWindow()->GetActiveView()->GetSelection()->GetObjects();
  } else {
    objects = KvSession->GetObjectStore()
                  ->ObjectsFromRecordList(Record1, Variant(int16_t{-1}))
                  ->GetCopy();
  }
  if (objects && objects->GetCount() != 0) return objects;
  return nullptr;
}

int16_t clsUtils::GetLookUpClassId(const Ref<KvAttributes>& Attributes,
                                   const std::string& AttributeName) {
  if (!Attributes) return 0;
  Ref<vtx::KvClass> owner = Attributes->GetClass();
  const std::string internal_name = GetAttributeByExternalName(owner, AttributeName);
  return ClassId16(owner->AttributeByName(internal_name, 0)->GetLookupClassId());
}

int16_t clsUtils::GetLinkClassID(const Ref<KvObject>& ReltaedObj, const Ref<vtx::KvClass>& Class2) {
  int16_t result = 0;
  // Absence of a usable link class is an answer (0), not a failure to report.
  try {
    const int16_t super_class = Class2->GetSuperClassId();
    Ref<KvClassList> links = ReltaedObj->GetClass()->GetClassLinks()->GetTo(super_class);
    for (int32_t i = 0; i < links->GetCount(); ++i) {
      Ref<vtx::KvClass> link = links->Item(Index16(i));
      // Both conditions are read for every link class, as the host sees it.
      const int16_t class_id = link->GetClassId();
      const bool relation = link->GetClassKind() == class_kind::kRelation;
      if (class_id != 0 && relation) {
        result = class_id;
        break;
      }
    }
  } catch (const RuntimeError&) {
  }
  return result;
}

bool clsUtils::GetThePrimaryIdentifierInAClass(const Ref<vtx::KvSession>& /*KvSession*/,
                                               const Ref<vtx::KvClass>& KvClass,
                                               Ref<KvAttribute>& KvClassAttribute) {
  return Reported("GetThePrimaryIdentifierInAClass", [&] {
    KvClassAttribute = KvClass->GetIdentifierAttributes()->Item(Variant(int16_t{0}));
    // A revision only tells versions apart; it never names the object.
    return KvClassAttribute->GetName() != "REVISION";
  });
}

bool clsUtils::GetThePrimaryIdentifierNameInAClass(const Ref<vtx::KvSession>& KvSession,
                                                   const Ref<vtx::KvClass>& KvClass,
                                                   std::string& AttributeName) {
  return Reported("GetThePrimaryIdentifierNameInAClass", [&] {
    Ref<KvAttribute> primary;
    if (!GetThePrimaryIdentifierInAClass(KvSession, KvClass, primary)) return false;
    AttributeName = primary->GetName();
    return true;
  });
}

}  // namespace vtx
