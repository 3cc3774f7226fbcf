#include <string>

#include "records/cls_electronic_record.h"
#include "runtime/text.h"

namespace vtx {

namespace {

constexpr const char* kCrLf = "\r\n";
constexpr const char* kOriginalObjectGlobal = "OriginalObject";
constexpr const char* kDeletedReference = "**DELETED**";

// Values the host stores for "no value" in numeric attributes.
constexpr int16_t kAbsentInt16 = -32767;       // 0x8001
constexpr int32_t kAbsentInt32 = -2147483647;  // 0x80000001

// Texts below are appended piece by piece, one statement each, so that the
// host is asked for keys and class names in the order they appear in the text
// (operands of one "+" chain are evaluated in no fixed order).
std::string ClassNameOf(const Ref<KvObject>& object) { return object->GetClass()->GetName(); }

// The plain value as people read it; absent-value markers read as nothing.
std::string PlainDisplayValue(const Variant& raw) {
  if (raw.Type() == VarType::kI2) {
    if (raw.AsI2() == kAbsentInt16) return "";
  } else if (raw.IsString()) {
    if (raw.AsString().empty()) return "";
  } else if (CompareEqual(raw, Variant(kAbsentInt32))) {
    return "";
  }
  return raw.ToString();  // Null raises here, and so displays as nothing
}

}  // namespace

int16_t clsElectronicRecord::SetDescription(Ref<vtx::KvSession>& Session,
                                            const std::string& Operation, Ref<KvObject>& ERObject,
                                            Ref<vtx::KvObject>& KvObject) {
  Status = 1;
  const int16_t kind = Variant(KvObject->GetClass()->GetClassKind()).ToInt16();
  const std::string operation = text::UCase(Operation);
  std::string description;

  if (operation == "UPDATE") {
    if (!Session->GetGlobals()->GetValue(kOriginalObjectGlobal).IsNull()) {
      Ref<vtx::KvObject> saved =
          Session->GetGlobals()->GetValue(kOriginalObjectGlobal).ToObjectAs<vtx::KvObject>();
      if (saved) description = RetrieveObjectsDelta(Session, Operation, saved, KvObject, kind);
    }
  } else if (operation == "DELETE") {
    Ref<vtx::KvObject> none;
    description = RetrieveObjectsDelta(Session, Operation, KvObject, none, kind);
  } else {
    const std::string op = Capitalize(Operation);
    Ref<vtx::KvObject> first_end;
    Ref<vtx::KvObject> second_end;
    if (kind == class_kind::kRelation) {
      Status = GetDescriptionObjectLogicLink(KvObject, first_end, second_end);
      description = op + " relation between: '";
    } else if (kind == class_kind::kComposition) {
      Status = GetDescriptionObjectHierLink(KvObject, first_end, second_end);
      description = op + " composition between: '";
    } else {
      description = op + " object: " + "'";
      description += GetPrimaryKey(KvObject);
      description += "' of class: '";
      description += ClassNameOf(KvObject);
      description += "'";
      Status = 0;
    }
    if (first_end) {
      description += GetPrimaryKey(first_end);
      description += "' of class: '";
      description += ClassNameOf(first_end);
      description += "'";
    }
    if (second_end) {
      description += kCrLf;
      description += " and: '";
      description += GetPrimaryKey(second_end);
      description += "' of class: '";
      description += ClassNameOf(second_end);
      description += "'";
    }
  }

  if (!description.empty()) Status = AddValue(ERObject, "CN_DESCRIPTION", Variant(description));
  return Status;
}

std::string clsElectronicRecord::RetrieveObjectsDelta(Ref<vtx::KvSession>& Session,
                                                      const std::string& Operation,
                                                      Ref<KvObject>& FirstObject,
                                                      Ref<KvObject>& SecondObject,
                                                      int32_t KvClassType) {
  const std::string op = Capitalize(Operation);
  std::string description;
  if (class_kind::IsLink(KvClassType)) {
    Ref<KvObject> first_end;
    Ref<KvObject> second_end;
    std::string between;
    if (KvClassType == class_kind::kComposition) {
      GetDescriptionObjectHierLink(FirstObject, first_end, second_end);
      between = " composition between: '";
    } else {
      GetDescriptionObjectLogicLink(FirstObject, first_end, second_end);
      between = " relation between: '";
    }
    description = op + between;
    description += GetPrimaryKey(first_end);
    description += "' class: '";
    description += ClassNameOf(first_end);
    description += std::string("'") + kCrLf + "and: '";
    description += GetPrimaryKey(second_end);
    description += "' class: '";
    description += ClassNameOf(second_end);
    description += std::string("'") + kCrLf;
  } else {
    description = op + " object: '";
    description += GetPrimaryKey(FirstObject);
    description += "' of class: '";
    description += ClassNameOf(FirstObject);
    description += std::string("'") + kCrLf;
  }
  const int32_t header_length = text::Len(description);

  if (FirstObject) {
    const int16_t first_class = FirstObject->GetClass()->GetClassId();
    const int32_t first_count = FirstObject->GetAttributeCount();
    int16_t second_class = 0;
    int32_t second_count = 0;
    if (SecondObject) {
      second_class = SecondObject->GetClass()->GetClassId();
      second_count = SecondObject->GetAttributeCount();
    }
    // Values are only comparable attribute by attribute within one class.
    const bool comparable = !SecondObject || first_class == second_class;
    Ref<KvAttributes> attributes;
    if (comparable) attributes = Session->GetClasses()->ClassById(first_class)->GetAttributes();
    if (comparable && (!SecondObject || first_count == second_count)) {
      for (int32_t i = 0; i < first_count; ++i) {
        Ref<KvAttribute> attribute = attributes->Item(Variant(Variant(i).ToInt16()));
        if (attribute->IsExcludedFromHistory()) continue;
        const std::string label = attribute->GetExternalName();
        const std::string name = attribute->GetName();
        const std::string old_value = GetAttDisplayValue(Session, FirstObject, name);
        const std::string new_value = GetAttDisplayValue(Session, SecondObject, name);
        if (new_value == old_value) continue;
        description += kCrLf + label + " was: '" + old_value + "'";
        if (!new_value.empty()) description += " is: '" + new_value + " '" + kCrLf;
      }
    }
  }

  if (text::Len(description) <= header_length) return "";
  return description;
}

std::string clsElectronicRecord::GetAttDisplayValue(Ref<vtx::KvSession>& Session,
                                                    Ref<KvObject>& KvObject,
                                                    const std::string& HeaderName) {
  if (!KvObject) return "";
  try {
    const int16_t lookup_class =
        Variant(KvObject->GetClass()->AttributeByName(HeaderName, 0)->GetLookupClassId()).ToInt16();
    if (lookup_class != 0) {
      const int32_t id = KvObject->GetData()->GetValue(HeaderName).ToInt32();
      Ref<KvClass> referenced = Session->GetClasses()->ClassById(lookup_class);
      if (!referenced || id < 0) return "";
      const int32_t kind = referenced->GetClassKind();
      if (class_kind::IsKeyed(kind)) {
        try {
          return Session->GetObjectStore()->GetObjectDisplay(lookup_class, id, 0)->GetText(0);
        } catch (const RuntimeError&) {
          return kDeletedReference;
        }
      }
      if (class_kind::IsLookup(kind)) {
        try {
          Ref<KvLookupItem> item = Session->GetObjectStore()->GetLookupItemById(lookup_class, id);
          return item ? item->GetText() : "";
        } catch (const RuntimeError&) {
          return kDeletedReference;
        }
      }
      // Any other kind of referenced class: shown as the plain value.
    }
    return PlainDisplayValue(KvObject->GetData()->GetValue(HeaderName));
  } catch (const RuntimeError&) {
    return "";
  }
}

std::string clsElectronicRecord::GetPrimaryKey(Ref<vtx::KvObject>& KvObject) {
  const int32_t kind = KvObject->GetClass()->GetClassKind();
  if (class_kind::IsKeyed(kind)) return KvObject->GetKeyText(" ");
  if (class_kind::IsLink(kind)) {
    return "From Class " + KvObject->GetClass()->GetName();
  }
  return "";
}

}  // namespace vtx
