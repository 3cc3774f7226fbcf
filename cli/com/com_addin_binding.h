// vtx.exe's way to the add-in: every call of a step crosses COM.
#pragma once

#include "cli/scenario/addin_binding.h"

namespace vtx::cli {

// `Application` and `clsNLS` are created from the registered VTX_HA.dll
// (CoCreateInstance by ProgID) and called through IDispatch; the add-in's
// other classes, which only the DLL itself calls, run in this process. Either
// way the host's objects go to the add-in as the host's COM stubs, and the
// add-in reaches them through its COM proxies, so each host call crosses COM
// with the types its declaration gives; what comes back is the host's own
// object again. The DLL's own calls for names, environment, clock, message
// boxes and components by ProgID are turned to the run's platform
// (dll_import_redirection.h).
// REQUIRES: COM initialised, apartment-threaded, on the run's thread.
class ComAddinBinding : public AddinBinding {
 public:
  Ref<Dispatch> Create(const AddinClass& add_in_class) override;
  Variant Invoke(const AddinClass& add_in_class, Dispatch& instance, const MethodInfo& method,
                 std::vector<Variant>& args) override;
};

}  // namespace vtx::cli
