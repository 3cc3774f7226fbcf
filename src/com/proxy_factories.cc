#include "com/proxy_factories.h"

namespace vtx::com {

namespace {

const ProxyFactories& Factories() {
  static const ProxyFactories factories = [] {
    ProxyFactories all;
    AddHostProxies(all);
    return all;
  }();
  return factories;
}

}  // namespace

Ref<Dispatch> AdaptForeign(IDispatch* object, const std::type_info& type) {
  if (!object) return nullptr;
  const auto found = Factories().find(std::type_index(type));
  if (found == Factories().end()) return nullptr;
  return found->second(object);
}

}  // namespace vtx::com
