#include "emulator/com/host_objects.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "com/com_string.h"
#include "com/com_variant.h"
#include "com/object_bridge.h"
#include "history/quick_report_call.h"
#include "host/kv_host.h"
#include "support/mock_kv_record.h"
#include "support/mock_kv_session.h"
#include "support/mock_platform.h"

namespace vtx::testing {
#include "support/generate_mocks.inc"

#include "host/kv_class.def"
#include "host/kv_components.def"
#include "host/kv_object.def"
#include "host/kv_object_store.def"

#include "host/generate_end.inc"
}  // namespace vtx::testing

namespace vtx::emu {
namespace {

using ::testing::_;
using ::testing::DoAll;
using ::testing::Invoke;
using ::testing::NiceMock;
using ::testing::Return;
using ::testing::SaveArg;
using ::testing::Throw;
using vtx::testing::MockGenerateRpt;
using vtx::testing::MockKvClass;
using vtx::testing::MockKvClasses;
using vtx::testing::MockKvGlobals;
using vtx::testing::MockKvIntegrationEditor;
using vtx::testing::MockKvObject;
using vtx::testing::MockKvObjects;
using vtx::testing::MockKvObjectStore;
using vtx::testing::MockKvRecord;
using vtx::testing::MockKvRecordList;

MATCHER_P(Is, object, "is the very object") {
  return static_cast<const void*>(arg.get()) == static_cast<const void*>(object.get());
}

// The host object `target` as the add-in reaches it: the host's stub,
// imported by the add-in's side (its typed proxy).
template <class I>
Ref<I> ThroughCom(const Ref<I>& target) {
  IDispatch* stub = ExportHostObject(target);
  Ref<I> seen = CastTo<I>(com::ImportObject(stub));
  stub->Release();
  return seen;
}

// A late-bound call on `object` as a script or Korvel makes it: the
// arguments as given, first argument first.
struct RawCall {
  HRESULT hr = S_OK;
  com::VariantHolder result;
  EXCEPINFO info{};
  ~RawCall() {
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
  }
};

void CallByName(IDispatch* object, const char* name, std::vector<VARIANT> args, RawCall& call) {
  com::BstrHolder wide(name);
  LPOLESTR names[] = {wide.get()};
  DISPID id = DISPID_UNKNOWN;
  call.hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(call.hr)) return;
  std::reverse(args.begin(), args.end());
  DISPPARAMS params{args.data(), nullptr, static_cast<UINT>(args.size()), 0};
  UINT bad_argument = 0;
  call.hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                           &call.result.value, &call.info, &bad_argument);
}

VARIANT Of(VARTYPE type, LONG value) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = type;
  if (type == VT_I2) V_I2(&v) = static_cast<SHORT>(value);
  if (type == VT_I4) V_I4(&v) = value;
  if (type == VT_BOOL) V_BOOL(&v) = value ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

class HostStubTest : public ::testing::Test {
 protected:
  void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  void TearDown() override { CoUninitialize(); }
};

// Through the add-in's typed proxies and the host's stubs, each argument
// reaches the host with its declared type and value, and host objects the
// add-in hands back are the host's own.
TEST_F(HostStubTest, ArgumentsArriveAsDeclaredAndHostObjectsComeBackAsThemselves) {
  auto store = MakeRef<MockKvObjectStore>();
  auto part = MakeRef<NiceMock<MockKvObject>>();
  auto record = MakeRef<NiceMock<MockKvRecord>>();
  auto collection = MakeRef<MockKvObjects>();
  EXPECT_CALL(*store, GetObjectById(100, 70000)).WillOnce(Return(part));
  // A Variant flag reaches the host as it was passed, not coerced.
  EXPECT_CALL(*store, ObjectFromRecord(Is(record), Variant(int16_t{0}))).WillOnce(Return(part));
  EXPECT_CALL(*store, CreateObjects()).WillOnce(Return(collection));
  EXPECT_CALL(*collection, Add(Is(part))).Times(2);
  EXPECT_CALL(*store, GetLookupItemById(5, -1)).WillOnce(Return(nullptr));

  Ref<KvObjectStore> seen = ThroughCom<KvObjectStore>(store);
  Ref<KvObject> object = seen->GetObjectById(100, 70000);
  EXPECT_NE(object.get(), part.get());  // the add-in holds a proxy ...
  Ref<KvObjects> objects = seen->CreateObjects();
  objects->Add(object);  // ... which reaches the host as the host's object
  objects->Add(seen->ObjectFromRecord(ThroughCom<KvRecord>(record), Variant(int16_t{0})));
  EXPECT_TRUE(seen->GetLookupItemById(5, -1).IsNothing());
}

// The arguments the host writes come back to the add-in.
TEST_F(HostStubTest, ArgumentsByReferenceAreWrittenBack) {
  auto editor = MakeRef<MockKvIntegrationEditor>();
  auto part = MakeRef<NiceMock<MockKvObject>>();
  auto edited = MakeRef<NiceMock<MockKvObject>>();
  auto collection = MakeRef<MockKvObjects>();
  EXPECT_CALL(*editor, EditObject(Is(part), Is(Ref<KvObject>()), ::testing::Eq(0)))
      .WillOnce(Invoke([&](const Ref<KvObject>&, Ref<KvObject>& out, int16_t& status) {
        out = edited;
        status = 4;
        return true;
      }));
  EXPECT_CALL(*collection, Add(Is(edited)));

  Ref<KvObject> out;
  int16_t status = 0;
  EXPECT_TRUE(
      ThroughCom<KvIntegrationEditor>(editor)->EditObject(ThroughCom<KvObject>(part), out, status));
  EXPECT_EQ(status, 4);
  ThroughCom<KvObjects>(collection)->Add(out);
}

// A late-bound caller gets what a compiled server with the host's type
// library gives: its arguments coerced to the declared types where
// Automation converts them, refused where it does not.
TEST_F(HostStubTest, LateBoundArgumentsAreCoercedOrRefusedAsTheTypeLibrarySays) {
  auto classes = MakeRef<NiceMock<MockKvClasses>>();
  auto store = MakeRef<NiceMock<MockKvObjectStore>>();
  auto list = MakeRef<NiceMock<MockKvRecordList>>();
  auto report = MakeRef<MockGenerateRpt>();
  auto session_object = MakeRef<NiceMock<vtx::testing::MockKvSession>>();
  auto collection = MakeRef<NiceMock<MockKvObjects>>();
  int16_t class_id = 0;
  Variant flag;
  ON_CALL(*classes, ClassById(_)).WillByDefault(DoAll(SaveArg<0>(&class_id), Return(nullptr)));
  ON_CALL(*store, ObjectsFromRecords(_, _))
      .WillByDefault(DoAll(SaveArg<1>(&flag), Return(nullptr)));
  ON_CALL(*report, GenerateReportByObjects(_, _)).WillByDefault(Return(int16_t{2}));
  IDispatch* classes_stub = ExportHostObject(classes);
  IDispatch* store_stub = ExportHostObject(store);
  IDispatch* list_stub = ExportHostObject(list);
  IDispatch* report_stub = ExportHostObject(report);
  IDispatch* session_stub = ExportHostObject(session_object);
  IDispatch* collection_stub = ExportHostObject(collection);
  // The caller's own references, which the callee may replace.
  IDispatch* session = session_stub;
  IDispatch* objects = collection_stub;
  session->AddRef();
  objects->AddRef();
  VARIANT session_value = Of(VT_DISPATCH, 0);
  V_DISPATCH(&session_value) = session;
  VARIANT objects_value = session_value;
  V_DISPATCH(&objects_value) = objects;
  auto by_ref = [](VARTYPE type, void* target) {
    VARIANT v;
    V_VT(&v) = VT_BYREF | type;
    V_BYREF(&v) = target;
    return v;
  };
  BSTR twelve = SysAllocString(L"12");
  BSTR letters = SysAllocString(L"x");
  auto text = [](BSTR value) {
    VARIANT v;
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = value;
    return v;
  };
  VARIANT list_value = Of(VT_DISPATCH, 0);
  V_DISPATCH(&list_value) = list_stub;

  struct Case {
    const char* what;
    IDispatch* object;
    const char* name;
    std::vector<VARIANT> args;
    HRESULT hr;
    std::function<void()> check;
  } cases[] = {
      {"VT_BOOL True for a 16-bit class id",
       classes_stub,
       "ClassById",
       {Of(VT_BOOL, 1)},
       S_OK,
       [&] { EXPECT_EQ(class_id, -1); }},
      {"a numeric text for a 16-bit class id",
       classes_stub,
       "classbyid",
       {text(twelve)},
       S_OK,
       [&] { EXPECT_EQ(class_id, 12); }},
      {"a 32-bit value beyond 16 bits",
       classes_stub,
       "ClassById",
       {Of(VT_I4, 70000)},
       DISP_E_OVERFLOW,
       [] {}},
      {"a text for a 16-bit class id",
       classes_stub,
       "ClassById",
       {text(letters)},
       DISP_E_TYPEMISMATCH,
       [] {}},
      {"no argument", classes_stub, "ClassById", {}, DISP_E_BADPARAMCOUNT, [] {}},
      {"an unknown operation", classes_stub, "ClassByNumber", {}, DISP_E_UNKNOWNNAME, [] {}},
      {"16-bit 0 for a Variant",
       store_stub,
       "ObjectsFromRecords",
       {list_value, Of(VT_I2, 0)},
       S_OK,
       [&] { EXPECT_EQ(flag, Variant(int16_t{0})); }},
      {"by-reference objects where declared",
       report_stub,
       "GenerateReportByObjects",
       {by_ref(VT_DISPATCH, &session), by_ref(VT_DISPATCH, &objects)},
       S_OK,
       [] {}},
      {"by-reference Variants for by-reference objects",
       report_stub,
       "GenerateReportByObjects",
       {by_ref(VT_VARIANT, &session_value), by_ref(VT_VARIANT, &objects_value)},
       DISP_E_TYPEMISMATCH,
       [] {}},
  };
  EXPECT_CALL(*report, GenerateReportByObjects(Is(session_object), Is(collection))).Times(2);
  for (Case& c : cases) {
    RawCall call;
    CallByName(c.object, c.name, c.args, call);
    EXPECT_EQ(call.hr, c.hr) << c.what << ": " << com::FromBstr(call.info.bstrDescription);
    if (SUCCEEDED(call.hr)) c.check();
  }
  // The add-in's own call of the report passes what the report declares.
  NiceMock<vtx::testing::MockPlatform> platform;
  EXPECT_CALL(platform, CreateObject("KvQuickReport.GenerateRpt"))
      .WillOnce(Return(com::ImportObject(report_stub)));
  ScopedPlatform installed(&platform);
  Ref<KvSession> add_in_session = CastTo<KvSession>(com::ImportObject(session_stub));
  Ref<KvObjects> add_in_objects = CastTo<KvObjects>(com::ImportObject(collection_stub));
  EXPECT_EQ(history::CallQuickReport(add_in_session, add_in_objects), 2);
  SysFreeString(twelve);
  SysFreeString(letters);
  EXPECT_EQ(session, session_stub);  // left as they came
  EXPECT_EQ(objects, collection_stub);
  for (IDispatch* stub : {classes_stub, store_stub, list_stub, report_stub, session_stub,
                          collection_stub, session, objects})
    stub->Release();
}

// A run-time error of the host leaves the stub as a compiled server reports
// it: DISP_E_EXCEPTION with the number, the description and the source
// "Korvel" (or the error's own) in EXCEPINFO; the add-in raises it again.
TEST_F(HostStubTest, HostErrorsCarryNumberDescriptionAndSource) {
  auto globals = MakeRef<MockKvGlobals>();
  EXPECT_CALL(*globals, GetValue("lost")).WillRepeatedly(Throw(RuntimeError(1000, "Session lost")));
  EXPECT_CALL(*globals, GetValue("failed"))
      .WillRepeatedly(Throw(RuntimeError(-2147467259, "Unspecified", "Store")));
  struct Case {
    const char* name;
    HRESULT scode;
    int32_t number;
    const char* description;
    const char* source;
  } cases[] = {
      {"lost", static_cast<HRESULT>(0x800A03E8), 1000, "Session lost", "Korvel"},
      {"failed", E_FAIL, -2147467259, "Unspecified", "Store"},
  };
  IDispatch* stub = ExportHostObject(globals);
  for (const Case& c : cases) {
    RawCall call;
    com::BstrHolder name(c.name);
    VARIANT arg;
    V_VT(&arg) = VT_BSTR;
    V_BSTR(&arg) = name.get();
    CallByName(stub, "GetValue", {arg}, call);
    EXPECT_EQ(call.hr, DISP_E_EXCEPTION) << c.name;
    EXPECT_EQ(call.info.scode, c.scode) << c.name;
    EXPECT_EQ(com::FromBstr(call.info.bstrDescription), c.description) << c.name;
    EXPECT_EQ(com::FromBstr(call.info.bstrSource), c.source) << c.name;
    try {
      ThroughCom<KvGlobals>(globals)->GetValue(c.name);
      ADD_FAILURE() << c.name << ": no error";
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.Number(), c.number) << c.name;
      EXPECT_EQ(error.Description(), c.description) << c.name;
      EXPECT_EQ(error.Source(), c.source) << c.name;
    }
  }
  stub->Release();
}

// An object of the add-in handed to the host reaches it as an object it can
// call by name, and comes back to the add-in as the add-in's own; the host's
// default values (DISPID_VALUE) reach the add-in too.
class AddInThing : public Dispatch {
 public:
  Variant Invoke(std::string_view name, InvokeKind, std::vector<Variant>&) override {
    if (name == "Name") return Variant("thing");
    Raise(err::kNotSupported);
  }
};

class NamedClass : public NiceMock<MockKvClass> {
 public:
  Variant GetDefaultValue() override { return Variant("Part"); }
};

TEST_F(HostStubTest, AddInObjectsComeBackAsThemselvesAndDefaultValuesCross) {
  auto globals = MakeRef<MockKvGlobals>();
  Variant kept;
  EXPECT_CALL(*globals, SetValue("OriginalObject", _)).WillOnce(SaveArg<1>(&kept));
  EXPECT_CALL(*globals, GetValue("OriginalObject")).WillOnce(::testing::ReturnPointee(&kept));
  auto thing = MakeRef<AddInThing>();
  Ref<KvGlobals> seen = ThroughCom<KvGlobals>(globals);
  seen->SetValue("OriginalObject", Variant(thing));
  ASSERT_TRUE(kept.IsObject());
  EXPECT_NE(kept.AsObject().get(), thing.get());
  EXPECT_EQ(kept.AsObject()->GetProperty("Name"), Variant("thing"));
  EXPECT_EQ(seen->GetValue("OriginalObject").AsObject().get(), thing.get());

  // Also when the host took it as one of its interfaces.
  auto collection = MakeRef<MockKvObjects>();
  Ref<KvObject> received;
  EXPECT_CALL(*collection, Add(_)).WillOnce(SaveArg<0>(&received));
  EXPECT_CALL(*collection, Item(0)).WillOnce(::testing::ReturnPointee(&received));
  auto mine = MakeRef<NiceMock<MockKvObject>>();
  Ref<KvObjects> objects = ThroughCom<KvObjects>(collection);
  objects->Add(mine);
  EXPECT_EQ(objects->Item(0).get(), mine.get());

  EXPECT_EQ(ThroughCom<KvClass>(MakeRef<NamedClass>())->GetDefaultValue(), Variant("Part"));
  try {
    ThroughCom<KvClasses>(MakeRef<MockKvClasses>())->GetDefaultValue();
    ADD_FAILURE() << "a default value without one";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), err::kNotSupported);
  }
}

}  // namespace
}  // namespace vtx::emu
