#include "com/host_proxies.h"

#include "com/proxy_factories.h"

namespace vtx::com {

void AddHostProxies(ProxyFactories& factories) {
#define VTX_HOST_INTERFACE(I, iid) AddProxy<I, HostProxy<I>>(factories);
#define VTX_HOST_OP(I, r, name, params)
#define VTX_HOST_LOCAL_OP(I, r, name, params)
#define VTX_HOST_END(I)
#include "host/all_operations.inc"

#include "host/generate_end.inc"
}

}  // namespace vtx::com
