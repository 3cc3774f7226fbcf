#pragma once

#include "com/typed_proxy.h"
#include "host/kv_host.h"
#include "platform/file_system_object.h"

namespace vtx::com {

// The typed view of a host object for each host interface I: HostProxy<I>
// calls every operation by its name with the arguments as its declaration
// (host/*.def) types them. An operation declared local (never crossing COM)
// is defined by hand, outside.
template <class Interface>
class HostProxy;

#define VTX_PROXY_TAG(t, n) , VTX_CPP_TAG(t)
#define VTX_PROXY_ARG(t, n) , n
#define VTX_HOST_INTERFACE(I, iid)                  \
  template <>                                       \
  class HostProxy<I> final : public TypedProxy<I> { \
   public:                                          \
    using TypedProxy::TypedProxy;
#define VTX_HOST_OP(I, r, name, params)                                                        \
  VTX_CPP_RESULT(r) name(VTX_CPP_PARAMS(params)) override {                                    \
    return CallDeclared<VTX_CPP_TAG(r) VTX_SEQ_FOR_EACH(VTX_PROXY_TAG, VTX_SEQ_NONE, params)>( \
        #name VTX_SEQ_FOR_EACH(VTX_PROXY_ARG, VTX_SEQ_NONE, params));                          \
  }
#define VTX_HOST_LOCAL_OP(I, r, name, params) \
  VTX_CPP_RESULT(r) name(VTX_CPP_PARAMS(params)) override;
#define VTX_HOST_END(I) \
  }                     \
  ;
#include "host/all_operations.inc"

#include "host/generate_end.inc"
#undef VTX_PROXY_TAG
#undef VTX_PROXY_ARG

}  // namespace vtx::com
