#include "com/foreign_object.h"

#include <gtest/gtest.h>

#include <functional>

#include "com/com_string.h"
#include "com/com_variant.h"
#include "com/object_bridge.h"
#include "fake_host_object.h"
#include "host/kv_host.h"

namespace vtx::com {
namespace {

using testing::ArgumentOf;
using testing::FakeHostObject;

TEST(ForeignObjectTest, CallsByNameWithArgumentsInOrder) {
  FakeHostObject host({"GetValue"});
  host.answer = [](DISPPARAMS& params, VARIANT* result, EXCEPINFO*) {
    // The column comes first, the row second.
    const std::string column = FromBstr(V_BSTR(&ArgumentOf(params, 0)));
    const int row = V_I4(&ArgumentOf(params, 1));
    ToVariant(Variant(column + "#" + std::to_string(row)), *result);
    return S_OK;
  };
  {
    LateBoundObject object(&host);
    std::vector<Variant> args{Variant("TITLE"), Variant(int32_t{3})};
    EXPECT_EQ(object.CallByName("GetValue", InvokeKind::kMethod, args, Passing::kByValue),
              Variant("TITLE#3"));
    ASSERT_EQ(host.calls.size(), 1u);
    EXPECT_EQ(host.calls[0].flags, DISPATCH_METHOD | DISPATCH_PROPERTYGET);
    EXPECT_EQ(host.calls[0].types, (std::vector<VARTYPE>{VT_BSTR, VT_I4}));
    EXPECT_EQ(host.references, 2);
  }
  EXPECT_EQ(host.references, 1);
}

TEST(ForeignObjectTest, ArgumentsByReferenceComeBackWritten) {
  FakeHostObject host({"EditObject"});
  host.answer = [](DISPPARAMS& params, VARIANT* result, EXCEPINFO*) {
    VARIANT& status = ArgumentOf(params, 2);
    EXPECT_EQ(V_VT(&status), VT_BYREF | VT_VARIANT);
    WriteByRef(Variant(int16_t{4}), status);
    ToVariant(Variant(true), *result);
    return S_OK;
  };
  LateBoundObject object(&host);
  std::vector<Variant> args{Variant(), Variant(), Variant(int16_t{0})};
  EXPECT_EQ(object.CallByName("EditObject", InvokeKind::kMethod, args, Passing::kByReference),
            Variant(true));
  EXPECT_EQ(args[2], Variant(int16_t{4}));
}

TEST(ForeignObjectTest, PropertyPutPassesItsValueAsTheNamedArgument) {
  FakeHostObject host({"Caption"});
  LateBoundObject object(&host);
  object.PutProperty("Caption", Variant("History"));
  ASSERT_EQ(host.calls.size(), 1u);
  EXPECT_EQ(host.calls[0].flags, DISPATCH_PROPERTYPUT);
  EXPECT_EQ(host.calls[0].named, 1u);
}

TEST(ForeignObjectTest, FailuresOfTheHostRaiseItsError) {
  FakeHostObject host({"GetLanguage"});
  host.answer = [](DISPPARAMS&, VARIANT*, EXCEPINFO* info) {
    info->scode = static_cast<HRESULT>(0x800A03E8);
    info->bstrDescription = NewBstr("Session lost");
    return DISP_E_EXCEPTION;
  };
  LateBoundObject object(&host);
  std::vector<Variant> none;
  try {
    object.CallByName("GetLanguage", InvokeKind::kMethod, none, Passing::kByValue);
    FAIL() << "no error";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), 1000);
    EXPECT_EQ(error.Description(), "Session lost");
  }
  try {
    object.CallByName("NoSuchOperation", InvokeKind::kMethod, none, Passing::kByValue);
    FAIL() << "no error";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), 438);
  }
}

// A typed view passes each argument as the COM type the operation's
// declaration gives it, by reference where declared; True is -1.
TEST(ForeignObjectTest, TypedViewsPassEachArgumentAsItsDeclaredType) {
  Ref<KvObject> out;
  int16_t status = 0;
  struct Case {
    const char* name;
    std::function<void(const Ref<Dispatch>& host)> call;
    std::vector<VARTYPE> types;
  } cases[] = {
      {"GetObjectById",
       [](const Ref<Dispatch>& host) { CastTo<KvObjectStore>(host)->GetObjectById(100, 7); },
       {VT_I2, VT_I4}},
      {"ObjectsFromRecords",
       [](const Ref<Dispatch>& host) {
         CastTo<KvObjectStore>(host)->ObjectsFromRecords(nullptr, true);
       },
       {VT_DISPATCH, VT_BOOL}},
      {"SetDoubleValue",
       [](const Ref<Dispatch>& host) { CastTo<KvRecord>(host)->SetDoubleValue("WEIGHT", 1.5); },
       {VT_BSTR, VT_R8}},
      {"EditObject",
       [&](const Ref<Dispatch>& host) {
         CastTo<KvIntegrationEditor>(host)->EditObject(nullptr, out, status);
       },
       {VT_DISPATCH, VT_BYREF | VT_DISPATCH, VT_BYREF | VT_I2}},
      {"Add",
       [](const Ref<Dispatch>& host) {
         CastTo<KvQueryConditions>(host)->Add("", "CN_ID", "=", Variant(int16_t{5}), 0, "F");
       },
       {VT_BSTR, VT_BSTR, VT_BSTR, VT_I2, VT_I4, VT_BSTR}},
  };
  for (const Case& c : cases) {
    FakeHostObject host({c.name});
    host.answer = [](DISPPARAMS& params, VARIANT*, EXCEPINFO*) {
      for (UINT i = 0; i < params.cArgs; ++i) {
        if (V_VT(&params.rgvarg[i]) == VT_BOOL) {
          EXPECT_EQ(V_BOOL(&params.rgvarg[i]), VARIANT_TRUE);
        }
      }
      return S_OK;
    };
    c.call(ImportObject(&host));
    ASSERT_EQ(host.calls.size(), 1u) << c.name;
    EXPECT_EQ(host.calls[0].types, c.types) << c.name;
  }
}

TEST(ForeignObjectTest, CastToAHostInterfaceGivesItsTypedView) {
  FakeHostObject session({"GetLanguage", "GetUserInfo"});
  session.answer = [&session](DISPPARAMS&, VARIANT* result, EXCEPINFO*) {
    // GetUserInfo answers Null for Nothing, as a script host may.
    if (session.calls.back().name == "GetUserInfo") {
      V_VT(result) = VT_NULL;
    } else {
      ToVariant(Variant("de-DE"), *result);
    }
    return S_OK;
  };
  {
    Ref<KvSession> typed = Variant(ImportObject(&session)).ToObjectAs<KvSession>();
    EXPECT_EQ(typed->GetLanguage(), "de-DE");
    EXPECT_TRUE(typed->GetUserInfo().IsNothing());
    EXPECT_EQ(session.calls[0].name, "GetLanguage");
    // Handed back to the host, it is the host's own object.
    IDispatch* exported = ExportObject(typed);
    EXPECT_EQ(exported, &session);
    exported->Release();
  }
  EXPECT_EQ(session.references, 1);
}

}  // namespace
}  // namespace vtx::com
