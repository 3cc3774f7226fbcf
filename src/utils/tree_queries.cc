#include <string>

#include "host/kv_host.h"
#include "platform/file_system_object.h"
#include "platform/platform.h"
#include "runtime/text.h"
#include "utils/cls_utils.h"
#include "utils/loop_index.h"
#include "utils/reported.h"

namespace vtx {

namespace {

constexpr const char* kWorkFileName = "TREE.inf";
constexpr const char* kQueryTooLarge =
    "You have to increase the internal parameter ''MaxQuerySize'' !";

// Registers `class_id` under `alias` and selects the two standard columns
// of that role, so every row names the father, the son and their link.
void AddRole(const Ref<KvTreeQuery>& query, int16_t class_id, const char* alias) {
  query->GetQueryClasses()->AddClass(class_id, alias);
  query->GetSelectList()->Add("CLASS_ID", alias, 0);
  query->GetSelectList()->Add("OBJECT_ID", alias, 0);
}

}  // namespace

bool clsUtils::ExpandTree(const Ref<KvSession>& KvSession, const Ref<vtx::KvObjects>& KvObjects,
                          int16_t Level, Ref<vtx::KvRecordList>& KvRecordList,
                          const Ref<KvStrings>& KvAttributesToDisplay, bool UseOrdering) {
  return Reported("ExpandTree", [&] {
    std::string directory;
    if (!GetTemporaryDirectory(directory)) return false;
    auto file_system =
        CastTo<FileSystemObject>(Platform::Current().CreateObject(progid::kFileSystemObject));
    const std::string work_file = file_system->BuildPath(directory, kWorkFileName);

    Ref<KvTreeQuery> query = KvSession->GetObjectStore()->CreateTreeQuery(work_file);
    query->SetOptionA(0);
    query->SetOptionB(1);
    query->SetLevel(Level);
    query->SetOptionC(0);

    for (int16_t i = 0; i < KvObjects->GetCount(); i = NextIndex(i)) {
      Ref<KvObject> root = KvObjects->Item(i)->NewInstance();
      query->GetRoots()->Add(root);
    }

    Ref<KvClass> root_class = KvObjects->Item(0)->GetClass();
    AddRole(query, root_class->GetSuperClassId(), "F");
    AddRole(query, root_class->GetSuperClassId(), "S");
    AddRole(query, root_class->GetHierarchyLinkClassId(), "L");
    if (UseOrdering) query->GetSelectList()->Add("TDMX_ORDERING", "L", 0);
    if (!KvAttributesToDisplay.IsNothing()) {
      for (int16_t i = 0; i < KvAttributesToDisplay->GetCount(); i = NextIndex(i)) {
        const std::string name = KvAttributesToDisplay->Item(i);
        query->GetSelectList()->Add(name, "F", 0);
        query->GetSelectList()->Add(name, "S", 0);
      }
    }

    // The host's query-size limit shows only as a failing expansion, so
    // every failure here is taken for it; the work file stays for analysis.
    try {
      query->Execute();
    } catch (const RuntimeError&) {
      Platform::Current().MessageBox(kQueryTooLarge, 16, "VTX");
      return false;
    }

    KvRecordList = query->GetResult(0, true)->GetRecordList();
    file_system->DeleteFile(work_file);
    return true;
  });
}

bool clsUtils::GetObjectsFromCompositeObjects(
    const Ref<KvSession>& KvSession, const Ref<vtx::KvCompositeObjects>& KvCompositeObjects,
    const std::string& Role, Ref<vtx::KvObjects>& KvObjects) {
  return Reported("GetObjectsFromCompositeObjects", [&] {
    if (Role != "L" && Role != "F" && Role != "S") return false;
    const std::string prefix = Role + ".";

    Ref<KvRecordList> rows = KvCompositeObjects->GetRecordList();
    auto role_rows = CastTo<KvRecordList>(Platform::Current().CreateObject(progid::kRecordList));
    for (int16_t c = 0; c < rows->GetColumnCount(); c = NextIndex(c)) {
      Ref<KvHeaderField> field = rows->GetHeader()->Item(c);
      const std::string name = field->GetName();
      if (text::Left(name, 2) == prefix) {
        const int32_t length = field->GetLength();
        const int32_t type = field->GetType();
        role_rows->AddColumn(text::Mid(name, 3), length, type);
      }
    }
    for (int16_t r = 0; r < rows->GetRecordCount(); r = NextIndex(r)) {
      for (int16_t c = 0; c < role_rows->GetColumnCount(); c = NextIndex(c)) {
        const std::string name = role_rows->GetColumnName(c);
        role_rows->SetValue(name, r, rows->GetValue(prefix + name, r));
      }
    }
    KvObjects = KvSession->GetObjectStore()->ObjectsFromRecordList(role_rows, true);
    return true;
  });
}

}  // namespace vtx
