#include "com/com_error.h"

#include <gtest/gtest.h>

#include "com/com_string.h"
#include "runtime/runtime_error.h"

namespace vtx::com {
namespace {

TEST(ComErrorTest, NumbersAndHResultsCorrespond) {
  struct Case {
    int32_t number;
    HRESULT hr;
  };
  // The classic numbers travel as 0x800Axxxx; a host's HRESULT as itself.
  const Case both_ways[] = {{91, static_cast<HRESULT>(0x800A005B)},
                            {438, static_cast<HRESULT>(0x800A01B6)},
                            {65535, static_cast<HRESULT>(0x800AFFFF)},
                            {-2147220736, static_cast<HRESULT>(0x80040300)}};
  for (const Case& c : both_ways) {
    EXPECT_EQ(HResultOfNumber(c.number), c.hr) << c.number;
    EXPECT_EQ(NumberOfHResult(c.hr), c.number) << c.number;
  }
  // Dispatch failures read as the numbers scripts know them by.
  const Case one_way[] = {{438, DISP_E_UNKNOWNNAME},   {438, DISP_E_MEMBERNOTFOUND},
                          {450, DISP_E_BADPARAMCOUNT}, {13, DISP_E_TYPEMISMATCH},
                          {429, REGDB_E_CLASSNOTREG},  {9, DISP_E_BADINDEX}};
  for (const Case& c : one_way) EXPECT_EQ(NumberOfHResult(c.hr), c.number) << c.number;
}

// RaiseInvokeFailure's error, as the test sees it.
RuntimeError InvokeFailure(HRESULT hr, EXCEPINFO info) {
  try {
    RaiseInvokeFailure(hr, info, "GetLanguage");
  } catch (const RuntimeError& error) {
    return error;
  }
  return RuntimeError(0, "none");
}

TEST(ComErrorTest, ExceptionInfoOfTheCalleeBecomesTheRunTimeError) {
  EXCEPINFO info{};
  info.scode = static_cast<HRESULT>(0x800A03E8);
  info.bstrDescription = NewBstr("Session lost");
  info.bstrSource = NewBstr("Korvel");
  RuntimeError error = InvokeFailure(DISP_E_EXCEPTION, info);
  EXPECT_EQ(error.Number(), 1000);
  EXPECT_EQ(error.Description(), "Session lost");
  EXPECT_EQ(error.Source(), "Korvel");

  EXCEPINFO coded{};
  coded.wCode = 1001;
  EXPECT_EQ(InvokeFailure(DISP_E_EXCEPTION, coded).Number(), 1001);

  EXCEPINFO host_hresult{};
  host_hresult.scode = static_cast<HRESULT>(0x80040300);
  host_hresult.bstrDescription = NewBstr("Read-only store");
  error = InvokeFailure(DISP_E_EXCEPTION, host_hresult);
  EXPECT_EQ(error.Number(), -2147220736);
  EXPECT_EQ(error.Description(), "Read-only store");
}

// A callback of the COM calling convention (stdcall on 32-bit Windows).
HRESULT STDAPICALLTYPE FillInLater(EXCEPINFO* deferred) {
  deferred->scode = static_cast<HRESULT>(0x800A0005);
  deferred->bstrDescription = NewBstr("filled later");
  return S_OK;
}

TEST(ComErrorTest, DeferredExceptionInfoIsFilledInFirst) {
  EXCEPINFO info{};
  info.pfnDeferredFillIn = FillInLater;
  const RuntimeError error = InvokeFailure(DISP_E_EXCEPTION, info);
  EXPECT_EQ(error.Number(), 5);
  EXPECT_EQ(error.Description(), "filled later");
}

TEST(ComErrorTest, OtherFailuresGetTheirNumberAndAStandardDescription) {
  const RuntimeError error = InvokeFailure(DISP_E_UNKNOWNNAME, EXCEPINFO{});
  EXPECT_EQ(error.Number(), 438);
  EXPECT_EQ(error.Description(), "Object doesn't support this property or method");
}

TEST(ComErrorTest, EntryPointsReportEveryErrorWithoutUnwinding) {
  EXCEPINFO info{};
  HRESULT hr = GuardEntry(&info, []() -> HRESULT { Raise(94); });
  EXPECT_EQ(hr, DISP_E_EXCEPTION);
  EXPECT_EQ(info.scode, static_cast<HRESULT>(0x800A005E));
  EXPECT_EQ(FromBstr(info.bstrDescription), "Invalid use of Null");
  EXPECT_EQ(FromBstr(info.bstrSource), "VTX_HA");
  SysFreeString(info.bstrDescription);
  SysFreeString(info.bstrSource);

  // Without EXCEPINFO (an early-bound call) the HRESULT itself, and the
  // thread's error information.
  hr = GuardEntry(nullptr, []() -> HRESULT { throw RuntimeError(-2147220736, "Host said no"); });
  EXPECT_EQ(hr, static_cast<HRESULT>(0x80040300));
  IErrorInfo* error = nullptr;
  ASSERT_EQ(GetErrorInfo(0, &error), S_OK);
  BSTR description = nullptr;
  error->GetDescription(&description);
  EXPECT_EQ(FromBstr(description), "Host said no");
  SysFreeString(description);
  error->Release();

  EXPECT_EQ(GuardEntry(nullptr, []() -> HRESULT { throw std::bad_alloc(); }), E_OUTOFMEMORY);
  EXPECT_EQ(GuardEntry(nullptr, []() -> HRESULT { throw 42; }), E_UNEXPECTED);
}

}  // namespace
}  // namespace vtx::com
