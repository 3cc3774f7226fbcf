#include <string>
#include <vector>

#include "settings/cls_admin_settings.h"
#include "settings/double_plan.h"
#include "settings/settings_support.h"
#include "utils/loop_index.h"

namespace vtx {

namespace {

// The administrator settings below the selected tree object.
bool SettingsUnder(const Ref<KvSession>& session, const Ref<KvRecordList>& first_rec,
                   int16_t settings_class_id, const Ref<KvStrings>& attributes,
                   Ref<KvObjects>& settings) {
  clsUtils utils;
  Ref<KvObjectStore> store = session->GetObjectStore();
  Ref<KvObjects> roots = store->CreateObjects();
  roots->Add(store->ObjectFromRecord(first_rec->GetRecord(0), true));
  Ref<KvObjects> tree;
  if (!utils.GetAllObjectsInAProject2(session, roots, settings::kAdminTreeTable, tree))
    return false;
  settings = store->CreateObjects();
  // A tree without rows leaves the collection unset: no candidates then.
  if (tree) {
    for (int16_t i = 0; i < tree->GetCount(); i = NextIndex(i)) {
      Ref<KvObject> object = tree->Item(i)->NewInstance();
      if (object->GetClassId() == settings_class_id) settings->Add(object);
    }
  }
  std::string names;
  if (!utils.ConvertKvStringsToString(attributes, names, ";")) return false;
  settings->SetAttributesToRead(names);
  settings->RetrieveAll();
  return true;
}

}  // namespace

bool ClsAdminSettings::GetBackTheDoubles(const Ref<vtx::KvSession>& KvSession,
                                         const Ref<vtx::KvRecordList>& FirstRec) {
  return settings::Reported("GetBackTheDoubles", [&] {
    clsUtils utils;
    Ref<KvClass> settings_class = settings::SettingsClassByTable(KvSession, true);
    const int16_t settings_class_id = settings_class->GetClassId();
    if (!GetAttributeNames(KvSession, settings_class)) return false;
    Ref<KvStrings> attributes = KvSession->CreateStringList();
    attributes->Add(primary_identifier_);
    attributes->Add(section_attribute_);
    attributes->Add(subject_attribute_);

    Ref<KvObjectStore> store = KvSession->GetObjectStore();
    Ref<KvObjects> candidates;
    if (!FirstRec) {
      Ref<KvQueryFactory> factory = store->GetQueryFactory();
      Ref<KvQuery> query = factory->GetQuery();
      settings::AddQueryClass(query, settings_class_id);
      settings::AddColumn(query, "CLASS_ID");
      settings::AddColumn(query, "OBJECT_ID");
      for (int16_t i = 0; i < attributes->GetCount(); i = NextIndex(i))
        settings::AddColumn(query, attributes->Item(i));
      factory->RunWithOptions(settings::RunOptions(store, true));
      candidates = store->ObjectsFromRecordList(factory->GetResult(), Variant(int16_t{0}));
    } else if (!SettingsUnder(KvSession, FirstRec, settings_class_id, attributes, candidates)) {
      return false;
    }

    // Each candidate is read once and every pair is compared on these values,
    // so the host work stays linear in the number of settings. The values come
    // from the candidates themselves, which hold what the query or RetrieveAll
    // read; a new instance holds nothing but its ids until it reads.
    std::vector<settings::DoubleCandidate> read;
    for (int16_t i = 0; i < candidates->GetCount(); i = NextIndex(i)) {
      Ref<KvObject> candidate = candidates->Item(i);
      settings::DoubleCandidate values;
      values.object_id = candidate->GetObjectId();
      values.class_id = candidate->GetClassId();
      values.subject = candidate->GetData()->GetValue(subject_attribute_);
      values.section = candidate->GetData()->GetValue(section_attribute_);
      read.push_back(std::move(values));
    }

    // What is listed is a fresh instance of each double, read in full.
    Ref<KvObjects> doubles = store->CreateObjects();
    for (size_t index : settings::PlanDoubleAdditions(read)) {
      Ref<KvObject> instance = candidates->Item(static_cast<int32_t>(index))->NewInstance();
      instance->PrepareNew();
      instance->Retrieve();
      doubles->Add(instance);
    }

    if (doubles->GetCount() > 0) {
      Ref<KvObject> selected;
      return utils.ShowObjects(KvSession, doubles, selected, 1, false, "List of doubles");
    }
    settings::ShowCritical("There is no duplicate item among the Admin Settings");
    return true;
  });
}

}  // namespace vtx
