#pragma once

#include <cctype>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/dispatch.h"
#include "runtime/text.h"

namespace vtx {

// Declared type of a parameter of an add-in operation, as its type library
// would declare it.
enum class ParamType { kString, kInt16, kInt32, kDouble, kBool, kVariant, kObject };

struct ParamInfo {
  std::string name;
  ParamType type = ParamType::kVariant;
  bool by_ref = false;           // the callee may write it; callers see the new value
  bool optional = false;         // may be omitted: passed as Variant::Missing()
  std::string object_type = {};  // for kObject: "KvSession", "KvRecordList", ...
};

struct MethodInfo {
  std::string name;
  std::vector<ParamInfo> params;
  bool has_result = false;  // a function (true) or a procedure (false)
};

// Late binding of a class's operations by name: how the type library exposes
// them over IDispatch, and how the scenario runner calls them.
// `Call` receives the arguments in declared order (Missing for an omitted
// optional one) and writes back by-reference arguments into `args`.
template <class T>
class MethodTable {
 public:
  using Call = std::function<Variant(T& self, std::vector<Variant>& args)>;

  void Add(MethodInfo info, Call call) {
    std::string key = info.name;
    entries_[std::move(key)] = Entry{std::move(info), std::move(call)};
  }
  // Case-insensitive, as late binding by name is.
  const MethodInfo* Find(std::string_view name) const {
    const Entry* e = FindEntry(name);
    return e ? &e->info : nullptr;
  }
  // Raises 438 for an unknown name and 450 (wrong number of arguments) when
  // `args` does not match the declaration.
  Variant Invoke(T& self, std::string_view name, std::vector<Variant>& args) const {
    const Entry* e = FindEntry(name);
    if (!e) Raise(err::kNotSupported);
    if (args.size() != e->info.params.size())
      Raise(450, "Wrong number of arguments or invalid property assignment");
    return e->call(self, args);
  }
  std::vector<const MethodInfo*> Methods() const {
    std::vector<const MethodInfo*> out;
    for (const auto& [_, e] : entries_) out.push_back(&e.info);
    return out;
  }

 private:
  struct Entry {
    MethodInfo info;
    Call call;
  };
  const Entry* FindEntry(std::string_view name) const {
    for (const auto& [key, e] : entries_) {
      if (text::SameNoCase(key, name)) return &e;
    }
    return nullptr;
  }
  std::map<std::string, Entry> entries_;
};

// Argument helpers for Call implementations.
namespace arg {
inline bool IsOmitted(const Variant& v) { return v.IsMissing(); }
template <class I>
Ref<I> Object(const Variant& v) {
  return v.IsMissing() ? Ref<I>() : v.ToObjectAs<I>();
}
}  // namespace arg

}  // namespace vtx
