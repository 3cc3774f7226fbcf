#include <chrono>

#include <gtest/gtest.h>

#include "emulator/emulated_host.h"
#include "tests/emulator/session/host_test_support.h"

namespace vtx::emu {
namespace {

using testing::CollectionOf;
using testing::InsertParts;
using testing::TestModel;

class GuiTest : public ::testing::Test {
 protected:
  Ref<KvCommonGui> CommonGui() {
    return CastTo<KvCommonGui>(session_->CreateHostComponent("KvGUISrv.KvCommonGUI"));
  }
  Ref<KvGuiServices> Services() {
    return CastTo<KvGuiServices>(session_->CreateHostComponent("KvGUISrv.KvGUIServices"));
  }
  Ref<KvView> ViewWith(const std::vector<int32_t>& ids, int32_t type = 8) {
    Ref<KvView> view = CommonGui()->GetViewFactory()->CreateView(type);
    view->GetContents()->AddObjects(CollectionOf(host_, "Part", ids));
    return view;
  }

  EmulatedHost host_{":memory:", TestModel()};
  Ref<KvSession> session_ = host_.Session();
};

TEST_F(GuiTest, EveryCreateViewMakesANewRecordedView) {
  Ref<KvViewFactory> factory = CommonGui()->GetViewFactory();
  Ref<KvView> a = factory->CreateView(8);
  Ref<KvView> b = factory->CreateView(8);
  Ref<KvView> c = Services()->CreateView(3);
  EXPECT_NE(a.get(), b.get());
  a->SetCaption("History of object A-100");
  HostRecordings seen = host_.TakeRecordings().host;
  ASSERT_EQ(seen.views.size(), 3u);
  EXPECT_EQ(seen.views[0].view->Caption(), "History of object A-100");
  EXPECT_EQ(seen.views[0].view->Type(), 8);
  EXPECT_EQ(seen.views[2].view->Type(), 3);
  for (const RecordedView& v : seen.views) EXPECT_FALSE(v.shown);
  EXPECT_TRUE(host_.TakeRecordings().host.views.empty());
}

TEST_F(GuiTest, TheViewShownLastIsTheOneOnScreen) {
  InsertParts(host_, 3);
  Ref<KvView> first = ViewWith({1});
  Ref<KvView> second = ViewWith({1, 2, 3});
  Ref<KvView> unshown = ViewWith({2});
  second->GetWindow()->ShowModeless();
  first->GetWindow()->ShowModeless();
  HostRecordings seen = host_.TakeRecordings().host;
  ASSERT_EQ(seen.views.size(), 3u);
  EXPECT_TRUE(seen.views[0].shown);
  EXPECT_FALSE(seen.views[1].shown);
  EXPECT_FALSE(seen.views[2].shown);
  EXPECT_TRUE(seen.views[1].view->WasShown());
  EXPECT_FALSE(seen.views[1].view->Modal());

  // A later step that shows nothing leaves the same view on screen.
  ViewWith({3});
  EXPECT_FALSE(host_.TakeRecordings().host.views[0].shown);
  EXPECT_EQ(host_.ViewOnScreen()->ObjectCount(), 1);
  EXPECT_EQ(Services()->GetMainWindow()->GetActiveView().get(), first.get());
}

TEST_F(GuiTest, ContentsAccumulateEveryCollectionAdded) {
  InsertParts(host_, 3);
  Ref<KvView> view = ViewWith({1, 2});
  view->GetContents()->AddObjects(CollectionOf(host_, "Part", {3}));
  view->GetContents()->AddObjects(CollectionOf(host_, "Part", {}));
  auto record = host_.TakeRecordings().host.views.at(0).view;
  EXPECT_EQ(record->ObjectCount(), 3);
  EXPECT_EQ(record->ObjectIds(), (std::vector<ObjectRef>{{100, 1}, {100, 2}, {100, 3}}));
  Ref<KvObjects> objects = view->GetContents()->GetObjects();
  ASSERT_EQ(objects->GetCount(), 3);
  EXPECT_EQ(objects->Item(2)->GetObjectId(), 3);
  EXPECT_THROW(view->GetContents()->AddObjects(nullptr), RuntimeError);
}

TEST_F(GuiTest, LaterChangesToTheCollectionDoNotReachTheView) {
  InsertParts(host_, 2);
  Ref<KvObjects> objects = CollectionOf(host_, "Part", {1, 2});
  Ref<KvView> view = CommonGui()->GetViewFactory()->CreateView(8);
  view->GetContents()->AddObjects(objects);
  objects->Clear();
  EXPECT_EQ(host_.TakeRecordings().host.views.at(0).view->ObjectIds(),
            (std::vector<ObjectRef>{{100, 1}, {100, 2}}));
}

TEST_F(GuiTest, ModalShowSelectsTheAnsweredObject) {
  InsertParts(host_, 3);
  host_.AddAnswers(HostAnswers{{}, {}, {ObjectKey{"Part", 2}, std::nullopt}});

  Ref<KvView> view = ViewWith({1, 2, 3});
  view->GetWindow()->Show();
  Ref<KvObject> selected = view->GetSelection()->GetSelectedObject();
  ASSERT_FALSE(selected.IsNothing());
  EXPECT_EQ(selected->GetObjectId(), 2);
  EXPECT_EQ(view->GetContents()->GetSelectedObject().get(), selected.get());
  EXPECT_EQ(view->GetSelection()->GetObjects()->GetCount(), 1);

  Ref<KvView> second = ViewWith({1, 2, 3});
  second->GetWindow()->Show();
  EXPECT_TRUE(second->GetSelection()->GetSelectedObject().IsNothing());

  HostRecordings seen = host_.TakeRecordings().host;
  EXPECT_TRUE(seen.views[0].view->Modal());
  EXPECT_FALSE(seen.views[0].shown);
  EXPECT_TRUE(seen.views[1].shown);
  EXPECT_FALSE(host_.AnswerWasMissing());
}

TEST_F(GuiTest, ModalShowWithoutAUsableAnswerFailsTheRun) {
  struct Case {
    const char* name;
    std::vector<std::optional<ObjectKey>> answers;
  } cases[] = {
      {"no answer left", {}},
      {"object not in the view", {ObjectKey{"Part", 2}}},
      {"unknown class", {ObjectKey{"Gadget", 1}}},
  };
  for (const Case& c : cases) {
    EmulatedHost host(":memory:", TestModel());
    InsertParts(host, 2);
    host.AddAnswers(HostAnswers{{}, {}, c.answers});
    Ref<KvView> view =
        CastTo<KvCommonGui>(host.Session()->CreateHostComponent("KvGUISrv.KvCommonGUI"))
            ->GetViewFactory()
            ->CreateView(8);
    view->GetContents()->AddObjects(CollectionOf(host, "Part", {1}));
    EXPECT_THROW(view->GetWindow()->Show(), RuntimeError) << c.name;
    EXPECT_TRUE(host.AnswerWasMissing()) << c.name;
  }
}

TEST_F(GuiTest, WindowsHaveHandlesAndRecordTheirOwner) {
  Ref<KvGuiServices> services = Services();
  Ref<KvGuiWindow> main = services->GetMainWindow();
  Ref<KvView> view = services->CreateView(8);
  Ref<KvGuiWindow> window = view->GetWindow();
  EXPECT_NE(window->GetHandle(), main->GetHandle());
  EXPECT_EQ(window->GetHandle(), view->GetWindow()->GetHandle());
  EXPECT_NE(main->GetHandle(), 1);  // 1 is what callers pass when there is no main window
  window->SetOwner(main->GetHandle());
  EXPECT_EQ(window->GetActiveView().get(), view.get());
  EXPECT_TRUE(main->GetActiveView().IsNothing());
  EXPECT_EQ(host_.TakeRecordings().host.views.at(0).view->OwnerHandle(), main->GetHandle());
}

TEST_F(GuiTest, NotifierRecordsTheObjectsAsTheyWereAtTheCall) {
  InsertParts(host_, 3);
  Ref<KvObjects> objects = CollectionOf(host_, "Part", {3, 1});
  Ref<KvGuiNotifier> notifier =
      CastTo<KvGuiServices>(session_->CreateHostComponent("KvGuiSrv.KVGuiServices"))->GetNotifier();
  notifier->NotifyObjectsChanged(2, objects, false);
  objects->Clear();
  notifier->NotifyObjectsChanged(0, objects, true);
  HostRecordings seen = host_.TakeRecordings().host;
  ASSERT_EQ(seen.notifications.size(), 2u);
  EXPECT_EQ(seen.notifications[0].kind, 2);
  EXPECT_FALSE(seen.notifications[0].flag);
  EXPECT_EQ(seen.notifications[0].objects, (std::vector<ObjectRef>{{100, 3}, {100, 1}}));
  EXPECT_EQ(seen.notifications[1].kind, 0);
  EXPECT_TRUE(seen.notifications[1].flag);
  EXPECT_TRUE(seen.notifications[1].objects.empty());
}

TEST_F(GuiTest, FaultsReachViewOperations) {
  host_.Monitor().AddFault(Fault{"KvView.SetCaption", 1, 7, "Out of memory", false});
  host_.Monitor().AddFault(Fault{"KvGuiWindow.Show", 1, 8, "Closed", false});
  Ref<KvView> view = CommonGui()->GetViewFactory()->CreateView(8);
  EXPECT_THROW(view->SetCaption("x"), RuntimeError);
  EXPECT_THROW(view->GetWindow()->Show(), RuntimeError);
  EXPECT_FALSE(host_.AnswerWasMissing());  // failed before asking the user
}

// One view per history object, each filled with every history object, as
// the history viewer does: views keep the collections, so this stays linear.
TEST_F(GuiTest, ManyViewsOfManyObjectsStayCheap) {
  constexpr int kObjects = 10000;
  Ref<KvObjects> objects;
  {
    CallMonitor::Pause pause(host_.Monitor());
    objects = host_.ObjectStore()->CreateObjects();
    Ref<KvObject> part = host_.ObjectStore()->CreateObject(100);
    for (int i = 0; i < kObjects; ++i) objects->Add(part);
  }
  const auto start = std::chrono::steady_clock::now();
  Ref<KvViewFactory> factory = CommonGui()->GetViewFactory();
  Ref<KvView> last;
  for (int i = 0; i < kObjects; ++i) {
    last = factory->CreateView(8);
    last->SetCaption("History of object P-1");
    last->GetContents()->AddObjects(objects);
  }
  last->GetWindow()->ShowModeless();
  HostRecordings seen = host_.TakeRecordings().host;
  ASSERT_EQ(seen.views.size(), static_cast<size_t>(kObjects));
  EXPECT_TRUE(seen.views.back().shown);
  EXPECT_EQ(seen.views.back().view->ObjectCount(), kObjects);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

}  // namespace
}  // namespace vtx::emu

namespace vtx::emu {
namespace {

// The history viewer's loop over real store collections: per history object a
// new view, filled from a copy of the history collection turned into rows and
// back into objects.
TEST(GuiScaleTest, HistoryViewerPatternOverStoredObjects) {
  constexpr int kObjects = 10000;
  EmulatedHost host(":memory:", testing::TestModel());
  for (int i = 1; i <= kObjects; ++i)
    host.GetStore().Insert("History", {{"CN_TEXT", "h" + std::to_string(i)}}, i);
  Ref<KvObjects> history;
  {
    CallMonitor::Pause pause(host.Monitor());
    std::vector<int32_t> ids;
    for (int i = 1; i <= kObjects; ++i) ids.push_back(i);
    history = testing::CollectionOf(host, "History", ids);
  }
  const auto start = std::chrono::steady_clock::now();
  Ref<KvSession> session = host.Session();
  Ref<KvViewFactory> factory =
      CastTo<KvCommonGui>(session->CreateHostComponent("KvGUISrv.KvCommonGUI"))->GetViewFactory();
  Ref<KvView> view;
  for (int32_t pass = 0; pass < history->GetCount(); ++pass) {
    view = factory->CreateView(8);
    view->SetCaption("History of object P-1");
    view->GetContents()->AddObjects(
        session->GetObjectStore()->ObjectsFromRecords(history->GetCopy()->GetRecordList(), false));
  }
  view->GetWindow()->ShowModeless();
  EXPECT_EQ(host.ViewOnScreen()->ObjectCount(), kObjects);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

}  // namespace
}  // namespace vtx::emu
