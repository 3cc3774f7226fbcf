#include "com/com_error.h"

#include <new>
#include <string>

#include "com/com_string.h"
#include "runtime/runtime_error.h"

namespace vtx::com {

namespace {

constexpr uint32_t kControlFacilityMask = 0xFFFF0000u;
constexpr uint32_t kControlFacilityBase = 0x800A0000u;

struct KnownFailure {
  HRESULT hr;
  int32_t number;
};

// The dispatch and creation failures scripts know by their classic numbers.
constexpr KnownFailure kKnownFailures[] = {
    {DISP_E_UNKNOWNNAME, err::kNotSupported},
    {DISP_E_MEMBERNOTFOUND, err::kNotSupported},
    {DISP_E_BADPARAMCOUNT, 450},
    {DISP_E_PARAMNOTOPTIONAL, 449},
    {DISP_E_TYPEMISMATCH, err::kTypeMismatch},
    {DISP_E_OVERFLOW, err::kOverflow},
    {DISP_E_BADINDEX, err::kSubscriptOutOfRange},
    {DISP_E_DIVBYZERO, 11},
    {E_OUTOFMEMORY, 7},
    {E_INVALIDARG, err::kInvalidProcedureCall},
    {E_NOINTERFACE, 430},
    {REGDB_E_CLASSNOTREG, err::kCannotCreateObject},
    {CO_E_CLASSSTRING, err::kCannotCreateObject},
    {CLASS_E_CLASSNOTAVAILABLE, err::kCannotCreateObject},
};

std::string SystemMessageOf(HRESULT hr) {
  char* buffer = nullptr;
  DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string message = length ? std::string(buffer, length) : std::string("Automation error");
  LocalFree(buffer);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
  return message;
}

// The description scripts show for `number` when the failing side gave none.
std::string DefaultDescription(int32_t number, HRESULT hr) {
  if (number != hr) return StandardDescription(number);
  return SystemMessageOf(hr);
}

void FreeExcepInfo(EXCEPINFO& info) {
  SysFreeString(info.bstrSource);
  SysFreeString(info.bstrDescription);
  SysFreeString(info.bstrHelpFile);
  info.bstrSource = info.bstrDescription = info.bstrHelpFile = nullptr;
}

void FillExcepInfo(EXCEPINFO& info, HRESULT hr, const std::string& description,
                   const std::string& source) {
  info = EXCEPINFO{};
  info.scode = hr;
  info.bstrSource = NewBstr(source);
  info.bstrDescription = NewBstr(description);
}

void SetThreadError(const std::string& description, const std::string& source) {
  ICreateErrorInfo* create = nullptr;
  if (FAILED(CreateErrorInfo(&create))) return;
  BstrHolder wide_description(description);
  BstrHolder wide_source(source);
  create->SetDescription(wide_description.get());
  create->SetSource(wide_source.get());
  IErrorInfo* error = nullptr;
  if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&error)))) {
    SetErrorInfo(0, error);
    error->Release();
  }
  create->Release();
}

HRESULT Report(EXCEPINFO* info, HRESULT hr, const std::string& description,
               const std::string& source) {
  if (info) {
    FillExcepInfo(*info, hr, description, source);
    return DISP_E_EXCEPTION;
  }
  SetThreadError(description, source);
  return hr;
}

}  // namespace

HRESULT HResultOfNumber(int32_t number) {
  if (number > 0 && number <= 0xFFFF) return static_cast<HRESULT>(kControlFacilityBase | number);
  return static_cast<HRESULT>(number);
}

int32_t NumberOfHResult(HRESULT hr) {
  const auto code = static_cast<uint32_t>(hr);
  if ((code & kControlFacilityMask) == kControlFacilityBase)
    return static_cast<int32_t>(code & 0xFFFF);
  for (const KnownFailure& known : kKnownFailures) {
    if (known.hr == hr) return known.number;
  }
  return static_cast<int32_t>(hr);
}

void RaiseInvokeFailure(HRESULT hr, EXCEPINFO& info, std::string_view member) {
  if (hr != DISP_E_EXCEPTION) {
    FreeExcepInfo(info);
    RaiseHResult(hr, member);
  }
  if (info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
  // A callee reports either a 16-bit code or an HRESULT, never both.
  const int32_t number = info.wCode ? info.wCode : NumberOfHResult(info.scode);
  std::string description = FromBstr(info.bstrDescription);
  std::string source = FromBstr(info.bstrSource);
  const HRESULT scode = info.scode ? info.scode : HResultOfNumber(info.wCode);
  FreeExcepInfo(info);
  if (description.empty()) description = DefaultDescription(number, scode);
  throw RuntimeError(number, std::move(description), std::move(source));
}

void RaiseHResult(HRESULT hr, std::string_view what) {
  const int32_t number = NumberOfHResult(hr);
  std::string description;
  std::string source;
  IErrorInfo* error = nullptr;
  if (GetErrorInfo(0, &error) == S_OK && error) {
    BSTR text = nullptr;
    if (SUCCEEDED(error->GetDescription(&text))) description = FromBstr(text);
    SysFreeString(text);
    text = nullptr;
    if (SUCCEEDED(error->GetSource(&text))) source = FromBstr(text);
    SysFreeString(text);
    error->Release();
  }
  if (description.empty()) description = DefaultDescription(number, hr);
  if (number == hr && !what.empty()) description += " (" + std::string(what) + ")";
  throw RuntimeError(number, std::move(description), std::move(source));
}

HRESULT ReportCurrentException(EXCEPINFO* info, std::string_view source) noexcept {
  try {
    throw;
  } catch (const RuntimeError& error) {
    try {
      return Report(info, HResultOfNumber(error.Number()), error.Description(),
                    error.Source().empty() ? std::string(source) : error.Source());
    } catch (...) {
      return E_OUTOFMEMORY;
    }
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (const std::exception& error) {
    try {
      return Report(info, E_UNEXPECTED, error.what(), std::string(source));
    } catch (...) {
      return E_UNEXPECTED;
    }
  } catch (...) {
    try {
      return Report(info, E_UNEXPECTED, "Unexpected failure", std::string(source));
    } catch (...) {
      return E_UNEXPECTED;
    }
  }
}

}  // namespace vtx::com
