#pragma once

#include <typeindex>
#include <unordered_map>

#include "com/typed_proxy.h"

namespace vtx::com {

// Makers of typed views of host objects, by the add-in interface they
// implement. Filled once, read-only afterwards.
using ProxyFactory = Ref<Dispatch> (*)(IDispatch* object);
using ProxyFactories = std::unordered_map<std::type_index, ProxyFactory>;

template <class Interface, class Proxy>
void AddProxy(ProxyFactories& factories) {
  factories[std::type_index(typeid(Interface))] = [](IDispatch* object) -> Ref<Dispatch> {
    return MakeRef<Proxy>(object);
  };
}

// Enters the typed view of every host interface (host_proxies.h).
void AddHostProxies(ProxyFactories& factories);

}  // namespace vtx::com
