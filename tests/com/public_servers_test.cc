#include "com/public_servers.h"

#include <VTX_HA.h>
#include <gtest/gtest.h>

#include "app/application.h"
#include "app/globals.h"
#include "com/com_string.h"
#include "com/com_variant.h"
#include "fake_host_object.h"
#include "nls/cls_nls.h"
#include "registration/com_identity.h"

namespace vtx::com {
namespace {

using registration::kApplicationClass;
using registration::kNlsClass;
using testing::FakeHostObject;

// Early-bound callers reach the operations through the dual interfaces' slots.
TEST(PublicServersTest, ClsNlsSlotReturnsTheDefaultWithoutALanguage) {
  Globals().SessionLanguage.clear();
  IDispatch* server = NewPublicServer(kNlsClass.clsid, MakeRef<clsNLS>());
  _clsNLS* nls = nullptr;
  ASSERT_EQ(server->QueryInterface(__uuidof(_clsNLS), reinterpret_cast<void**>(&nls)), S_OK);
  BSTR name_space = NewBstr("orbent.solutions.NLS.Controls.VT9");
  BSTR key = NewBstr("Common.Button.Close");
  BSTR appendix = NewBstr("CONTROLS");
  BSTR fallback = NewBstr(
      "Schlie\xC3\x9F"
      "en");
  BSTR result = nullptr;
  EXPECT_EQ(nls->GetTranslation(&name_space, &key, &appendix, &fallback, &result), S_OK);
  EXPECT_EQ(FromBstr(result),
            "Schlie\xC3\x9F"
            "en");
  for (BSTR text : {name_space, key, appendix, fallback, result}) SysFreeString(text);
  nls->Release();
  server->Release();
}

TEST(PublicServersTest, ApplicationSlotFailsWithTheHostsErrorAsHResultAndErrorInfo) {
  FakeHostObject session({"GetLanguage"});
  session.answer = [](DISPPARAMS&, VARIANT*, EXCEPINFO* info) {
    info->scode = static_cast<HRESULT>(0x800A03E8);
    info->bstrDescription = NewBstr("Session lost");
    return DISP_E_EXCEPTION;
  };
  FakeHostObject records({});
  IDispatch* server = NewPublicServer(kApplicationClass.clsid, MakeRef<Application>());
  _Application* application = nullptr;
  ASSERT_EQ(server->QueryInterface(__uuidof(_Application), reinterpret_cast<void**>(&application)),
            S_OK);
  IDispatch* session_slot = &session;
  IDispatch* list_slot = &records;
  BSTR operation = NewBstr("CHECKIN");
  short status = 99;
  EXPECT_EQ(application->ExecuteCreateNewERObject(&session_slot, &operation, &list_slot, &status),
            static_cast<HRESULT>(0x800A03E8));
  IErrorInfo* error = nullptr;
  ASSERT_EQ(GetErrorInfo(0, &error), S_OK);
  BSTR description = nullptr;
  error->GetDescription(&description);
  EXPECT_EQ(FromBstr(description), "Session lost");
  SysFreeString(description);
  error->Release();
  // The caller's references are its own again, whatever happened.
  EXPECT_EQ(session_slot, &session);
  EXPECT_EQ(session.references, 1);
  EXPECT_EQ(records.references, 1);
  SysFreeString(operation);
  application->Release();
  server->Release();
}

TEST(PublicServersTest, OnlyThePublicClassesAreServed) {
  EXPECT_EQ(NewPublicServer("{00000000-0000-0000-0000-000000000000}", MakeRef<clsNLS>()), nullptr);
  IDispatch* server =
      NewPublicServer("{6c394113-ccc6-42ad-8233-ced3f22ebb56}", MakeRef<Application>());
  ASSERT_NE(server, nullptr);  // CLSIDs in any letter case
  server->Release();
}

}  // namespace
}  // namespace vtx::com
