#include <string>

#include "host/kv_host.h"
#include "runtime/text.h"
#include "utils/cls_utils.h"
#include "utils/loop_index.h"
#include "utils/reported.h"

namespace vtx {

namespace {

constexpr const char* kProjectTable = "TN_PROJECTS";
constexpr int16_t kProjectDepth = 100;

}  // namespace

bool clsUtils::GetGeneralLinkClassByClassTableNames(const Ref<KvSession>& KvSession,
                                                    const std::string& TableName1,
                                                    const std::string& TableName2,
                                                    Ref<KvClass>& KvLinkClass,
                                                    const Variant& LinkIndexToTake) {
  return Reported("GetGeneralLinkClassByClassTableNames", [&] {
    Ref<KvClass> first = KvSession->GetClasses()->ClassByTableName(TableName1);
    Ref<KvClass> second = KvSession->GetClasses()->ClassByTableName(TableName2);
    Ref<KvClassList> links = first->GetClassLinks()->GetTo(second->GetClassId());
    KvLinkClass = links->Item(LinkIndexToTake.ToInt32());
    return !KvLinkClass.IsNothing();
  });
}

bool clsUtils::GetObjectsOnDeskTopInProjects(const Ref<KvSession>& KvSession,
                                             const Ref<KvObjects>& KvProjects,
                                             const std::string& TableName,
                                             Ref<KvObjects>& KvObjectsOnTheDeskTop,
                                             const std::string& AttributeNames) {
  return Reported("GetObjectsOnDeskTopInProjects", [&] {
    Ref<KvObjectStore> store = KvSession->GetObjectStore();
    Ref<KvObjects> found = store->CreateObjects();
    Ref<KvClass> searched = KvSession->GetClasses()->ClassByTableName(TableName);
    const std::string project_table = KvProjects->Item(0)->GetClass()->GetTableName();

    Ref<KvClass> link_class;
    if (!GetGeneralLinkClassByClassTableNames(KvSession, project_table, TableName, link_class,
                                              Variant(int16_t{0}))) {
      return false;
    }

    Ref<KvQuery> query = store->NewQuery();
    query->GetQueryClasses()->AddClass(KvProjects->Item(0)->GetClassId(), "F");
    query->GetQueryClasses()->AddClass(searched->GetClassId(), "S");
    query->GetQueryClasses()->AddClass(link_class->GetClassId(), "L");

    // No de-duplication: an object on several projects' desktops is listed
    // once per project.
    for (int16_t p = 0; p < KvProjects->GetCount(); p = NextIndex(p)) {
      Ref<KvObjects> related = KvProjects->Item(p)->GetRelatedObjects(query);
      for (int16_t o = 0; o < related->GetCount(); o = NextIndex(o)) {
        Ref<KvObject> object = related->Item(o);
        if (object->IsOnDesktop()) found->Add(object);
      }
    }

    std::string to_read;
    Ref<KvAttributes> identifiers = searched->GetIdentifierAttributes();
    for (int16_t i = 0; i < identifiers->GetCount(); i = NextIndex(i)) {
      to_read += identifiers->Item(Variant(i))->GetName() + ";";
    }
    if (!AttributeNames.empty()) {
      to_read += AttributeNames;
    } else {
      to_read = text::Left(to_read, text::Len(to_read) - 1);
    }

    if (found->GetCount() != 0) {
      found->SetAttributesToRead(to_read);
      found->RetrieveAll();
    }
    KvObjectsOnTheDeskTop = found;
    return true;
  });
}

bool clsUtils::GetAllObjectsInAProject(const Ref<KvSession>& KvSession,
                                       const Ref<KvObjects>& KvProjects,
                                       const std::string& SuperClassTableName,
                                       Ref<vtx::KvRecordList>& KvRecordList,
                                       const Ref<KvStrings>& KvAttributes) {
  return Reported("GetAllObjectsInAProject", [&] {
    Ref<KvObjects> on_desktop;
    if (!GetObjectsOnDeskTopInProjects(KvSession, KvProjects, SuperClassTableName, on_desktop,
                                       "")) {
      return false;
    }
    if (on_desktop->GetCount() == 0) return false;
    return ExpandTree(KvSession, on_desktop, kProjectDepth, KvRecordList, KvAttributes, false);
  });
}

bool clsUtils::GetAllObjectsInAProject2(const Ref<KvSession>& KvSession,
                                        const Ref<vtx::KvObjects>& KvProjects,
                                        const std::string& SuperClassTableName,
                                        Ref<vtx::KvObjects>& KvObjects,
                                        const Ref<KvStrings>& KvAttributes) {
  return Reported("GetAllObjectsInAProject2", [&] {
    Ref<KvRecordList> rows;
    if (!GetAllObjectsInAProject(KvSession, KvProjects, SuperClassTableName, rows, KvAttributes)) {
      return false;
    }

    // A result that cannot be positioned or counted counts as empty.
    bool unreadable = false;
    int32_t count = 0;
    try {
      rows->GoToRow(0);
    } catch (const RuntimeError&) {
      unreadable = true;
    }
    try {
      count = rows->GetRecordCount();
    } catch (const RuntimeError&) {
      unreadable = true;
    }
    if (unreadable || count <= 0) return true;

    Ref<vtx::KvObjects> composite = KvSession->GetObjectStore()->ObjectsFromRecords(rows, true);
    Ref<vtx::KvObjects> sons;
    if (!GetObjectsFromCompositeObjects(KvSession, composite, "S", sons)) return false;

    KvObjects = KvSession->GetObjectStore()->CreateObjects();
    for (int16_t i = 0; i < sons->GetCount(); i = NextIndex(i)) {
      Ref<KvObject> son = sons->Item(i)->NewInstance();
      if (KvObjects->IndexOf(son) == -1) KvObjects->Add(son);
    }
    return true;
  });
}

bool clsUtils::GetFreeObjects(const Ref<KvSession>& KvSession,
                              const std::string& SuperClassTableName,
                              Ref<vtx::KvObjects>& KvObjects, const Ref<vtx::KvObjects>& KvProjects,
                              bool OnlyOrphans) {
  return Reported("GetFreeObjects", [&] {
    Ref<KvObjectStore> store = KvSession->GetObjectStore();
    Ref<KvOptions> options = store->GetDefaultOptions()->Copy();
    options->SetFlagA(false);
    options->SetFlagB(false);
    options->SetFlagC(false);

    Ref<vtx::KvObjects> projects = KvProjects;
    if (projects.IsNothing()) {
      Ref<KvQueryFactory> factory = store->GetQueryFactory();
      factory->GetQuery()->GetQueryClasses()->AddClass(
          KvSession->GetClasses()->ClassByTableName(kProjectTable)->GetClassId(), "F");
      factory->GetQuery()->GetSelectList()->Add("CLASS_ID", "F", 0);
      factory->GetQuery()->GetSelectList()->Add("OBJECT_ID", "F", 0);
      factory->RunWithOptions(options);
      projects = store->ObjectsFromRecordList(factory->GetResult(), false);
    }

    Ref<vtx::KvObjects> in_projects;
    if (!GetAllObjectsInAProject2(KvSession, projects, SuperClassTableName, in_projects, nullptr)) {
      return false;
    }
    if (in_projects.IsNothing() || in_projects->GetCount() == 0) return true;

    Ref<KvQueryFactory> factory = store->GetQueryFactory();
    factory->GetQuery()->GetQueryClasses()->AddClass(
        KvSession->GetClasses()->ClassByTableName(SuperClassTableName)->GetClassId(), "F");
    Ref<KvRecordList> columns = in_projects->GetRecordList();
    for (int16_t c = 0; c < columns->GetColumnCount(); c = NextIndex(c)) {
      factory->GetQuery()->GetSelectList()->Add(columns->GetColumnName(c), "F", 0);
    }
    factory->RunWithOptions(options);
    Ref<vtx::KvObjects> all = store->ObjectsFromRecordList(factory->GetResult(), false);

    KvObjects = store->CreateObjects();
    for (int16_t i = 0; i < all->GetCount(); i = NextIndex(i)) {
      Ref<KvObject> candidate = all->Item(i)->NewInstance();
      if (in_projects->IndexOf(candidate) != -1) continue;
      if (OnlyOrphans) {
        Ref<vtx::KvObjects> linked = candidate->GetLinkedObjects(nullptr, options);
        if (!linked.IsNothing() && linked->GetCount() != 0) continue;
      }
      candidate->PrepareNew();
      candidate->Retrieve();
      KvObjects->Add(candidate);
    }
    return true;
  });
}

}  // namespace vtx
