#pragma once

#include <cstdint>
#include <string>

#include "host/param_sequence.h"
#include "runtime/dispatch.h"

// Each host operation is declared once, in a .def file (host/kv_*.def,
// platform/file_system_object.def), by four macros that every includer
// defines for what it makes from the declarations (C++ interfaces, the
// add-in's COM proxies, traced names, mocks, the host's type library and
// COM stubs) and undefines again (host/generate_end.inc):
//
//   VTX_HOST_INTERFACE(Interface, "IID")     opens an interface
//   VTX_HOST_OP(Interface, result, Operation, (type, name)(type, name)...)
//   VTX_HOST_LOCAL_OP(...)                   the same, for an operation of the
//                                            C++ interface that does not cross
//                                            COM (the add-in's proxy implements it)
//   VTX_HOST_END(Interface)                  closes it
//
// Below: the COM types an argument or result may have, and the C++ types the
// add-in's host interfaces give them. The mapping is one to one in both
// directions, so a C++ signature tells which COM type each argument crosses
// as.
//
//   in a .def                 COM (type library)        C++ parameter / result
//   void                      (no result)               void
//   I2                        short                     int16_t
//   I4                        long                      int32_t
//   R8                        double                    double
//   VARIANT_BOOL              VARIANT_BOOL              bool
//   BSTR                      BSTR                      const std::string& / std::string
//   VARIANT                   VARIANT                   const Variant& / Variant
//   OBJ(T)                    IDispatch*                const Ref<T>& / Ref<T>
//   BYREF(x)                  [in, out] x*              x's C++ type, by reference

namespace vtx::comtype {

struct Void {
  using Value = void;
};
struct I2 {
  using Value = int16_t;
  using Param = int16_t;
};
struct I4 {
  using Value = int32_t;
  using Param = int32_t;
};
struct R8 {
  using Value = double;
  using Param = double;
};
struct Bool {
  using Value = bool;
  using Param = bool;
};
struct Bstr {
  using Value = std::string;
  using Param = const std::string&;
};
struct Var {
  using Value = Variant;
  using Param = const Variant&;
};
// An object reference, declared IDispatch: the add-in casts it to T.
template <class T>
struct Obj {
  using Interface = T;
  using Value = Ref<T>;
  using Param = const Ref<T>&;
};
// An argument the callee may write; the caller sees the new value.
template <class X>
struct ByRef {
  using Target = X;
  using Value = typename X::Value;
  using Param = Value&;
};

template <class Tag>
using Param = typename Tag::Param;
template <class Tag>
using Result = typename Tag::Value;

}  // namespace vtx::comtype

// The C++ tag of a type written in a .def.
#define VTX_CPP_TAG(t) VTX_CPP_TAG_##t
#define VTX_CPP_TAG_INNER(t) VTX_CPP_TAG_##t
#define VTX_CPP_TAG_void ::vtx::comtype::Void
#define VTX_CPP_TAG_I2 ::vtx::comtype::I2
#define VTX_CPP_TAG_I4 ::vtx::comtype::I4
#define VTX_CPP_TAG_R8 ::vtx::comtype::R8
#define VTX_CPP_TAG_VARIANT_BOOL ::vtx::comtype::Bool
#define VTX_CPP_TAG_BSTR ::vtx::comtype::Bstr
#define VTX_CPP_TAG_VARIANT ::vtx::comtype::Var
#define VTX_CPP_TAG_OBJ(T) ::vtx::comtype::Obj< ::vtx::T>
#define VTX_CPP_TAG_BYREF(x) ::vtx::comtype::ByRef<VTX_CPP_TAG_INNER(x)>

// One C++ parameter "type name", and the C++ result type.
#define VTX_CPP_PARAM(t, n) ::vtx::comtype::Param<VTX_CPP_TAG(t)> n
#define VTX_CPP_RESULT(r) ::vtx::comtype::Result<VTX_CPP_TAG(r)>
// The C++ parameter list of an operation.
#define VTX_CPP_PARAMS(params) VTX_SEQ_FOR_EACH(VTX_CPP_PARAM, VTX_SEQ_COMMA, params)
