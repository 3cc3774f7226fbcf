#include <string>

#include "host/kv_host.h"
#include "utils/cls_utils.h"
#include "utils/loop_index.h"
#include "utils/reported.h"

namespace vtx {

namespace {

constexpr int32_t kObjectsCreated = 0;

}  // namespace

bool clsUtils::CreateAndLinkObject(Ref<KvSession> KvSession, Ref<KvObject>& KvChildObject,
                                   const Ref<KvObject>& KvFatherObject,
                                   const std::string& ChildTableName,
                                   const Ref<KvRecord>& KvAttributesValue, bool IsIntegrationUsed,
                                   const Ref<KvRecord>& KvLinkAttributes) {
  return Reported("CreateAndLinkObject", [&] {
    Ref<KvObjectStore> store = KvSession->GetObjectStore();
    Ref<KvClasses> classes = KvSession->GetClasses();
    Ref<KvClass> child_class = classes->ClassByTableName(ChildTableName);
    KvChildObject = store->CreateObject(child_class->GetClassId());
    KvChildObject->PrepareNew();
    KvChildObject->CompleteNew();

    Ref<KvHeader> header = KvAttributesValue->GetHeader();
    for (int16_t i = 0; i < header->GetCount(); i = NextIndex(i)) {
      const std::string name = header->Item(i)->GetName();
      const Variant value = KvAttributesValue->GetValue(name);
      KvChildObject->GetData()->SetValue(name, value);
    }
    // Always empty on a new object, whatever the caller handed over.
    KvChildObject->SetValue("TDMX_XML_VIEWER", "");

    Ref<KvOptions> options = store->GetDefaultOptions()->Copy();
    options->SetMode(2);

    auto integration =
        CastTo<KvIntegrationStore>(KvSession->CreateHostComponent(progid::kIntegrationStore));
    if (IsIntegrationUsed) {
      // The editor opens again until the card's mandatory fields are filled
      // or the user gives up; the check shows its own message each time.
      while (true) {
        Ref<KvObject> edited;
        int16_t status = 0;
        if (!integration->GetEditor()->EditObject(KvChildObject, edited, status)) return false;
        Ref<KvClass> object_class = KvChildObject->GetClass();
        Ref<KvRecord> object_data = KvChildObject->GetData();
        if (AreRequiredFieldsFilled(KvSession, object_class, object_data)) break;
      }
    } else if (!IncrementSequenceNumber(KvSession, KvChildObject->GetClass())) {
      return false;
    }

    KvChildObject->BeginStore();
    KvChildObject->Insert(options);
    Ref<KvObject> link = KvChildObject->LinkTo(0, KvFatherObject, KvLinkAttributes, options);
    KvChildObject->EndStore();

    return RefreshCreatedLink(KvSession, link);
  });
}

bool clsUtils::GetNewAttributeValue(Ref<KvSession> KvSession, const Ref<KvRecordList>& FirstRec,
                                    const std::string& AttributeInternalName,
                                    Variant& NewAttributeValue) {
  try {
    if (FirstRec->GetHeader()->HasColumn(AttributeInternalName)) {
      NewAttributeValue = FirstRec->GetValue(AttributeInternalName, 0);
    } else {
      Ref<KvRecord> first = FirstRec->GetRecord(0);
      Ref<KvObject> object = KvSession->GetObjectStore()->ObjectFromRecord(first, true);
      object->AddAttributeToRead(AttributeInternalName);
      object->Retrieve();
      NewAttributeValue = object->GetData()->GetValue(AttributeInternalName);
    }
    return true;
  } catch (const RuntimeError& error) {
    // Passed on to the caller, named, with the original number and help.
    throw RuntimeError(error.Number(), "Error in GetNewAttributeValue:\r\n" + error.Description(),
                       error.Source(), error.HelpFile(), error.HelpContext());
  }
}

bool clsUtils::IncrementSequenceNumber(const Ref<KvSession>& KvSession,
                                       const Ref<KvClass>& KvClass) {
  return Reported("IncrementSequenceNumber", [&] {
    Ref<KvAttribute> identifier;
    if (!GetThePrimaryIdentifierInAClass(KvSession, KvClass, identifier)) return false;
    Ref<KvSequence> sequence =
        KvSession->GetObjectStore()->GetSequences()->GetSequenceOfAttribute(identifier);
    if (sequence.IsNothing()) return true;
    sequence->NextValue();
    return true;
  });
}

bool clsUtils::RefreshCreatedLink(const Ref<KvSession>& KvSession,
                                  const Ref<KvObject>& KvLinkObject) {
  return Reported("RefreshCreatedLink", [&] {
    Ref<KvObjects> created = KvSession->GetObjectStore()->CreateObjects();
    created->Add(KvLinkObject);
    auto gui = CastTo<KvGuiServices>(KvSession->CreateHostComponent(progid::kGuiServices));
    gui->GetNotifier()->NotifyObjectsChanged(kObjectsCreated, created, true);
    return true;
  });
}

}  // namespace vtx
