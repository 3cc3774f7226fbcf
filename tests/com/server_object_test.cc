#include "com/server_object.h"

#include <gtest/gtest.h>

#include "com/com_string.h"
#include "com/com_variant.h"
#include "com/object_bridge.h"
#include "runtime/text.h"

namespace vtx::com {
namespace {

// An add-in object with one operation that appends to its by-reference
// argument, and one that fails. Names match in any letter case, as late
// binding matches them.
class Appender : public Dispatch {
 public:
  Variant Invoke(std::string_view name, InvokeKind, std::vector<Variant>& args) override {
    if (text::UCase(name) == "APPEND") {
      args[0] = Variant(args[0].ToString() + "!");
      return Variant(int16_t{0});
    }
    if (name == "Fail") Raise(91);
    Raise(err::kNotSupported);
  }
};

DISPID IdOf(IDispatch* object, const wchar_t* name) {
  BstrHolder wide(text::ToUtf8(std::u16string(name, name + wcslen(name))));
  LPOLESTR names[] = {wide.get()};
  DISPID id = DISPID_UNKNOWN;
  EXPECT_EQ(object->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
  return id;
}

TEST(ServerObjectTest, InvokeWritesByReferenceArgumentsBack) {
  IDispatch* server = ExportObject(MakeRef<Appender>());
  const DISPID id = IdOf(server, L"append");
  EXPECT_EQ(IdOf(server, L"APPEND"), id);  // names in any letter case

  BSTR text = NewBstr("Hello");
  VARIANT argument;
  V_VT(&argument) = VT_BYREF | VT_BSTR;
  V_BSTRREF(&argument) = &text;
  DISPPARAMS params{&argument, nullptr, 1, 0};
  VariantHolder result;
  EXCEPINFO info{};
  ASSERT_EQ(
      server->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, &result.value, &info, nullptr),
      S_OK);
  EXPECT_EQ(FromBstr(text), "Hello!");
  EXPECT_EQ(V_VT(&result.value), VT_I2);
  SysFreeString(text);
  server->Release();
}

TEST(ServerObjectTest, ErrorsLeaveAsExceptionInfo) {
  IDispatch* server = ExportObject(MakeRef<Appender>());
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  EXCEPINFO info{};
  EXPECT_EQ(server->Invoke(IdOf(server, L"Fail"), IID_NULL, 0, DISPATCH_METHOD, &none, nullptr,
                           &info, nullptr),
            DISP_E_EXCEPTION);
  EXPECT_EQ(info.scode, static_cast<HRESULT>(0x800A005B));
  EXPECT_EQ(FromBstr(info.bstrDescription), "Object variable or With block variable not set");
  SysFreeString(info.bstrDescription);
  SysFreeString(info.bstrSource);
  server->Release();
}

TEST(ServerObjectTest, LivesUntilTheLastReleaseAndKeepsTheObjectAlive) {
  const long before = ServerCore::LiveObjects();
  auto appender = MakeRef<Appender>();
  IDispatch* server = ExportObject(appender);
  EXPECT_EQ(ServerCore::LiveObjects(), before + 1);
  EXPECT_EQ(appender.use_count(), 2);
  // Coming back, it is the add-in's own object again.
  EXPECT_EQ(ImportObject(server), appender);
  server->AddRef();
  EXPECT_EQ(server->Release(), 1u);
  EXPECT_EQ(server->Release(), 0u);
  EXPECT_EQ(ServerCore::LiveObjects(), before);
  EXPECT_EQ(appender.use_count(), 1);
}

TEST(ServerObjectTest, AnswersOnlyItsOwnInterfaces) {
  IDispatch* server = ExportObject(MakeRef<Appender>());
  void* object = nullptr;
  EXPECT_EQ(server->QueryInterface(IID_IClassFactory, &object), E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);
  ASSERT_EQ(server->QueryInterface(IID_ISupportErrorInfo, &object), S_OK);
  static_cast<IUnknown*>(object)->Release();
  server->Release();
}

}  // namespace
}  // namespace vtx::com
