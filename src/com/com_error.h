#pragma once

#include "com/windows_api.h"

#include <cstdint>
#include <string_view>

namespace vtx::com {

// How run-time errors cross the COM boundary, in both directions: the one
// place where HRESULTs and EXCEPINFO meet the add-in's RuntimeError.
// Pure functions except where stated; safe from any thread.

// Source named in the errors the add-in reports to its callers.
inline constexpr std::string_view kErrorSource = "VTX_HA";

// The HRESULT that carries run-time error `number`: the classic numbers
// (1 to 65535) in the scripting runtime's form 0x800Axxxx, any other number
// unchanged (it already is an HRESULT, as COM servers raise them).
HRESULT HResultOfNumber(int32_t number);
// The number a script sees for a failure HRESULT: the low word of the form
// 0x800Axxxx, the classic number of the dispatch failures (438 unknown
// member, 450 wrong argument count, 13 type mismatch, 429 no such class, ...),
// the HRESULT itself otherwise.
int32_t NumberOfHResult(HRESULT hr);

// Raises the RuntimeError for a failed IDispatch::Invoke of `member`: for
// DISP_E_EXCEPTION the number, description and source the callee put in
// `info` (which this frees), otherwise the HRESULT's own error.
[[noreturn]] void RaiseInvokeFailure(HRESULT hr, EXCEPINFO& info, std::string_view member);
// Raises the RuntimeError of a failed COM call `what` (the thread's error
// information when the callee set one).
[[noreturn]] void RaiseHResult(HRESULT hr, std::string_view what);

// Converts the exception in flight into the HRESULT returned to a COM
// caller: a RuntimeError keeps its number and description, std::bad_alloc
// is E_OUTOFMEMORY, anything else E_UNEXPECTED. With `info` (IDispatch::Invoke)
// the error goes there and DISP_E_EXCEPTION is returned; without, it is set
// as the thread's error information and its own HRESULT is returned. The
// source is the error's own, `source` when it names none.
// REQUIRES: called inside a catch block.
HRESULT ReportCurrentException(EXCEPINFO* info, std::string_view source = kErrorSource) noexcept;

// Runs `body` (returning an HRESULT) at a COM entry point and converts every
// exception it lets escape: nothing unwinds into the caller. `source` as for
// ReportCurrentException.
template <class Body>
HRESULT GuardEntry(EXCEPINFO* info, Body&& body, std::string_view source = kErrorSource) noexcept {
  try {
    return body();
  } catch (...) {
    return ReportCurrentException(info, source);
  }
}

}  // namespace vtx::com
