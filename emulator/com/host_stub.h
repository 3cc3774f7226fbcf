#pragma once

#include "com/windows_api.h"

#include <type_traits>
#include <utility>

#include "com/com_error.h"
#include "com/com_object.h"
#include "com/declared_types.h"
#include "emulator/com/host_objects.h"
#include "emulator/com/host_type_library.h"

namespace vtx::emu {

// Source of the errors the host's objects report through COM when the error
// names none.
inline constexpr std::string_view kHostErrorSource = "Korvel";

// A host object served through COM as a compiled server serves it: the
// vtable of its host interface (`ComInterface`, IKvSession, ... from the
// host's type library) over the C++ object (`Interface`), and IDispatch as
// the standard type-library dispatch (DispGetIDsOfNames, DispInvoke), so
// that names, argument coercion and type mismatches are those of the type
// library. The vtable slots are made from the operations' declarations
// (host_stubs.cc); this holds what every interface shares.
// IUnknown, ISupportErrorInfo and the count are ComObject's.
// Thread-safety: apartment model; the count itself is atomic.
template <class ComInterface, class Interface>
class HostStub : public com::ComObject<ComInterface>, private HostStubIdentity {
 public:
  explicit HostStub(Ref<Interface> target)
      : com::ComObject<ComInterface>(__uuidof(ComInterface), HostStubIid(),
                                     static_cast<HostStubIdentity*>(this)),
        target_(std::move(target)) {}

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    ITypeInfo* found = HostTypeInfo(__uuidof(ComInterface));
    if (!found) return TYPE_E_CANTLOADLIBRARY;
    found->AddRef();
    *info = found;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    ITypeInfo* info = HostTypeInfo(__uuidof(ComInterface));
    if (!info) return TYPE_E_CANTLOADLIBRARY;
    return DispGetIDsOfNames(info, names, count, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* info, UINT* bad_argument) override {
    ITypeInfo* type_info = HostTypeInfo(__uuidof(ComInterface));
    if (!type_info) return TYPE_E_CANTLOADLIBRARY;
    return DispInvoke(static_cast<ComInterface*>(this), type_info, id, flags, params, result, info,
                      bad_argument);
  }

  // The hidden default member (DISPID_VALUE) of every host interface.
  HRESULT STDMETHODCALLTYPE get_DefaultValue(VARIANT* value) override {
    return Serve([&] {
      return Finish<comtype::Var>([&] { return target_->GetDefaultValue(); }, [] {}, value);
    });
  }

 protected:
  ~HostStub() override = default;

  // Runs a vtable slot: every error leaves it as the failing HRESULT with the
  // thread's error information (source "Korvel" unless the error names its
  // own), which the type-library dispatch turns into DISP_E_EXCEPTION and
  // EXCEPINFO for a late-bound caller.
  template <class Body>
  static HRESULT Serve(Body&& body) {
    return com::GuardEntry(nullptr, std::forward<Body>(body), kHostErrorSource);
  }

  // Calls the C++ operation (`call`), writes back the arguments by reference
  // (`write_back`), then the result through `result` ([out, retval]; none
  // for an operation without one).
  template <class Result, class Call, class WriteBack, class... Slot>
  static HRESULT Finish(Call&& call, WriteBack&& write_back, Slot*... result) {
    if constexpr (std::is_same_v<Result, comtype::Void>) {
      static_assert(sizeof...(Slot) == 0);
      call();
      write_back();
    } else {
      static_assert(sizeof...(Slot) == 1);
      if (((result == nullptr) || ...)) return E_POINTER;
      auto value = call();
      write_back();
      (com::Declared<Result>::Set(value, *result, kHostObjects), ...);
    }
    return S_OK;
  }

  Ref<Interface> target_;

 private:
  Ref<Dispatch> Target() const override { return target_; }
};

// One argument a vtable slot received, as the C++ value the host's operation
// takes; an argument by reference is written back through its pointer once
// the operation returned (WriteBack).
template <class Tag>
class IncomingArgument {
 public:
  explicit IncomingArgument(const com::ComArg<Tag>& value)
      : value_(com::Declared<Tag>::From(value, kHostObjects)) {}
  comtype::Param<Tag> Get() { return value_; }
  void WriteBack() {}

 private:
  typename Tag::Value value_;
};

template <class X>
class IncomingArgument<comtype::ByRef<X>> {
 public:
  explicit IncomingArgument(com::ComArg<comtype::ByRef<X>> slot) : slot_(slot) {
    if (!slot_) Raise(E_POINTER);
    value_ = com::Declared<X>::From(*slot_, kHostObjects);
    if constexpr (kIsObject) received_ = value_.get();
  }
  typename X::Value& Get() { return value_; }
  // An object left as it came stays the caller's very pointer; any other
  // value is written, the new value first, so that a failure leaves the
  // caller's as it was.
  void WriteBack() {
    if constexpr (kIsObject) {
      if (value_.get() == received_) return;
    }
    typename com::Declared<X>::ComType fresh{};
    com::Declared<X>::Set(value_, fresh, kHostObjects);
    com::Declared<X>::Free(*slot_);
    *slot_ = fresh;
  }

 private:
  static constexpr bool kIsObject = requires { typename X::Interface; };

  com::ComArg<comtype::ByRef<X>> slot_;
  typename X::Value value_{};
  const void* received_ = nullptr;
};

}  // namespace vtx::emu
