// The host's COM stub of every host interface, made from the operations'
// declarations (host/*.def): Stub<I> implements the vtable of IKvI from the
// host's type library (KorvelHost.h, compiled from the same declarations by
// widl), each slot converting its arguments to the C++ types of interface I
// and calling the operation. A slot whose types differ from the type
// library's does not compile.

#include <KorvelHost.h>

#include <mutex>
#include <typeindex>
#include <unordered_map>

#include "emulator/com/host_objects.h"
#include "emulator/com/host_stub.h"
#include "host/kv_host.h"
#include "platform/file_system_object.h"

namespace vtx::emu {

namespace {

template <class Interface>
class Stub;

#define VTX_CPP_TAG_RETVAL(x) ::vtx::com::Retval<VTX_CPP_TAG_INNER(x)>
#define VTX_STUB_PARAM(t, n) ::vtx::com::ComArg<VTX_CPP_TAG(t)> n
#define VTX_STUB_INCOMING(t, n) IncomingArgument<VTX_CPP_TAG(t)> n##_in(n);
#define VTX_STUB_GET(t, n) n##_in.Get()
#define VTX_STUB_WRITE_BACK(t, n) n##_in.WriteBack();
#define VTX_STUB_RESULT(t, n) , n

#define VTX_HOST_INTERFACE(iface, iid)                           \
  template <>                                                    \
  class Stub<iface> final : public HostStub<::I##iface, iface> { \
   public:                                                       \
    using HostStub::HostStub;
#define VTX_HOST_OP(iface, r, name, params)                                                     \
  HRESULT STDMETHODCALLTYPE name(                                                               \
      VTX_SEQ_FOR_EACH(VTX_STUB_PARAM, VTX_SEQ_COMMA, params VTX_RETVAL_SEQ(r))) override {     \
    return Serve([&] {                                                                          \
      VTX_SEQ_FOR_EACH(VTX_STUB_INCOMING, VTX_SEQ_NONE, params)                                 \
      return Finish<VTX_CPP_TAG(r)>(                                                            \
          [&] { return target_->name(VTX_SEQ_FOR_EACH(VTX_STUB_GET, VTX_SEQ_COMMA, params)); }, \
          [&] { VTX_SEQ_FOR_EACH(VTX_STUB_WRITE_BACK, VTX_SEQ_NONE, params) } VTX_SEQ_FOR_EACH( \
              VTX_STUB_RESULT, VTX_SEQ_NONE, VTX_RETVAL_SEQ(r)));                               \
    });                                                                                         \
  }
#define VTX_HOST_LOCAL_OP(iface, r, name, params)
#define VTX_HOST_END(iface) \
  }                         \
  ;
#include "host/all_operations.inc"

#include "host/generate_end.inc"

// Makes the stub of the first host interface an object implements.
struct StubMaker {
  bool (*implements)(Dispatch& object);
  IDispatch* (*make)(const Ref<Dispatch>& object);
};

constexpr StubMaker kStubMakers[] = {
#define VTX_HOST_INTERFACE(iface, iid)                                        \
  {[](Dispatch& object) { return dynamic_cast<iface*>(&object) != nullptr; }, \
   [](const Ref<Dispatch>& object) -> IDispatch* {                            \
     return new Stub<iface>(CastTo<iface>(object));                           \
   }},
#define VTX_HOST_OP(iface, r, name, params)
#define VTX_HOST_LOCAL_OP(iface, r, name, params)
#define VTX_HOST_END(iface)
#include "host/all_operations.inc"

#include "host/generate_end.inc"
};

// The maker for a dynamic type, found once per type.
const StubMaker* MakerFor(Dispatch& object) {
  static std::mutex mutex;
  static std::unordered_map<std::type_index, const StubMaker*> known;
  const std::type_index type(typeid(object));
  std::lock_guard lock(mutex);
  if (auto found = known.find(type); found != known.end()) return found->second;
  const StubMaker* maker = nullptr;
  for (const StubMaker& candidate : kStubMakers) {
    if (candidate.implements(object)) {
      maker = &candidate;
      break;
    }
  }
  known.emplace(type, maker);
  return maker;
}

}  // namespace

IDispatch* NewHostStub(const Ref<Dispatch>& object) {
  if (!object) return nullptr;
  const StubMaker* maker = MakerFor(*object);
  return maker ? maker->make(object) : nullptr;
}

}  // namespace vtx::emu
