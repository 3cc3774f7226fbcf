#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "com/windows_api.h"
#include "runtime/dispatch.h"

namespace vtx::com {

// What every COM object the add-in serves does with IDispatch, whatever
// interface carries it: names to dispatch ids, Invoke with the arguments
// converted both ways (by-reference arguments written back), every error
// turned into DISP_E_EXCEPTION with the run-time error's number and text.
//
// A server object publishes either a fixed list of members, whose ids are
// their positions from 1 (as the type library numbers them), or, for an
// add-in object without a type library, any name asked for, given ids in the
// order asked (an unknown member then fails when invoked, with 438).
// Thread-safety: apartment model; used on the thread that created it.
class ServerCore {
 public:
  // `members` empty: publish any name. The target must not be Nothing.
  ServerCore(Ref<Dispatch> target, std::span<const std::string_view> members);
  virtual ~ServerCore();
  ServerCore(const ServerCore&) = delete;
  ServerCore& operator=(const ServerCore&) = delete;

  const Ref<Dispatch>& Target() const { return target_; }

  HRESULT IdsOfNames(LPOLESTR* names, UINT count, DISPID* ids);
  HRESULT InvokeMember(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* info,
                       UINT* bad_argument);

  // Server objects alive in this process, for DllCanUnloadNow.
  static long LiveObjects();

 protected:
  // Calls member `name` of the target with `args` as an early-bound caller
  // passes them; errors escape (the caller guards the entry).
  Variant CallMember(std::string_view name, std::vector<Variant>& args);

 private:
  std::string_view NameOf(DISPID id) const;

  Ref<Dispatch> target_;
  bool fixed_;
  std::vector<std::string> names_;
};

// Identifies a server object of this module to QueryInterface: the answer is
// the object's ServerCore, with no reference added. The id is this module's
// own (ModuleLocalIid): a server object of another module does not answer.
const IID& ServerCoreIid();

}  // namespace vtx::com
