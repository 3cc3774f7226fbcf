#pragma once

#include "com/windows_api.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/dispatch.h"

namespace vtx::com {

// How a late-bound call passes its arguments.
enum class Passing {
  kByValue,      // the callee gets copies
  kByReference,  // the callee may write them; the caller's Variants take the new values
};

// A COM object of the host, called by name: IDispatch::GetIDsOfNames, then
// IDispatch::Invoke, as a late-bound call in a script is made. A failing call
// raises the RuntimeError the callee reported (number, description, source).
// Holds one reference to the object for its lifetime.
// Thread-safety: apartment model; used on the thread that received the object.
class ForeignObject {
 public:
  explicit ForeignObject(IDispatch* object);
  virtual ~ForeignObject();
  ForeignObject(const ForeignObject&) = delete;
  ForeignObject& operator=(const ForeignObject&) = delete;

  // The object itself, not AddRef'd: valid while this lives.
  IDispatch* Pointer() const { return object_; }

  // Calls `name` (any letter case the callee accepts). A method call is made
  // as a script makes it, method or property get, so that a property
  // without arguments answers as well.
  Variant CallByName(std::string_view name, InvokeKind kind, std::vector<Variant>& args,
                     Passing passing);
  // The default value (DISPID_VALUE, property get).
  Variant DefaultValue();
  // Calls the method `name` with `args` as they are (last to first, as
  // IDispatch::Invoke takes them); the result goes into `result` (empty).
  void CallWith(std::string_view name, VARIANT* args, UINT count, VARIANT& result);

 private:
  DISPID IdOf(std::string_view name);
  Variant InvokeId(DISPID id, std::string_view name, InvokeKind kind, std::vector<Variant>& args,
                   Passing passing);
  void InvokeRaw(DISPID id, std::string_view name, WORD flags, DISPPARAMS& params, VARIANT& result);

  IDispatch* object_;
  std::map<std::string, DISPID> ids_;  // names already asked for, as spelled
};

// The add-in's view of a host object it knows nothing about yet: a Dispatch
// whose late-bound calls go to the object by name, and which presents itself
// as any host interface the add-in casts it to (see AdaptForeign).
class LateBoundObject : public Dispatch, public ForeignObject {
 public:
  explicit LateBoundObject(IDispatch* object) : ForeignObject(object) {}

  Variant Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) override {
    return CallByName(name, kind, args, Passing::kByReference);
  }
  Variant GetDefaultValue() override { return DefaultValue(); }
  Ref<Dispatch> AdaptTo(const std::type_info& type) override;
};

// A typed view of `object` for the add-in interface `type` (KvSession,
// KvObject, NlsCatalog, FileSystemObject, ...), or Nothing when the add-in
// has no such interface.
Ref<Dispatch> AdaptForeign(IDispatch* object, const std::type_info& type);

}  // namespace vtx::com
