#include <string>

#include "host/kv_host.h"
#include "runtime/text.h"
#include "utils/cls_utils.h"
#include "utils/loop_index.h"
#include "utils/reported.h"

namespace vtx {

namespace {

// Owner handle used when the host has no main window.
constexpr int32_t kNoMainWindowOwner = 1;

}  // namespace

bool clsUtils::ShowObjects(const Ref<KvSession>& KvSession, const Ref<KvObjects>& KvProposedObjects,
                           Ref<KvObject>& KvSelectedObject, int32_t KRViewType, bool Modal,
                           const std::string& KvViewTitle) {
  return Reported("ShowObjects", [&] {
    auto gui = CastTo<KvGuiServices>(KvSession->CreateHostComponent(progid::kGuiServices));
    Ref<KvGuiWindow> main_window = gui->GetMainWindow();

    Ref<KvView> view = gui->CreateView(KRViewType);
    Ref<KvGuiWindow> window = view->GetWindow();
    view->SetCaption(KvViewTitle);
    window->SetOwner(main_window.IsNothing() ? kNoMainWindowOwner : main_window->GetHandle());

    Ref<KvRecordList> rows = KvProposedObjects->GetRecordList();
    Ref<KvObjects> shown = KvSession->GetObjectStore()->ObjectsFromRecords(rows, true);
    view->GetContents()->AddObjects(shown);

    if (Modal) {
      window->Show();
      KvSelectedObject = view->GetSelection()->GetSelectedObject();
    } else {
      window->ShowModeless();
    }
    return true;
  });
}

bool clsUtils::ConvertKvStringsToString(const Ref<vtx::KvStrings>& KvStrings, std::string& Result,
                                        const std::string& Separateur) {
  return Reported("ConvertKvStringsToString", [&] {
    Result = "";
    if (KvStrings->GetCount() == 0) return true;
    for (int16_t i = 0; i < KvStrings->GetCount(); i = NextIndex(i)) {
      Result += KvStrings->Item(i) + Separateur;
    }
    Result = text::Left(Result, text::Len(Result) - text::Len(Separateur));
    return true;
  });
}

}  // namespace vtx
