#pragma once

#include <functional>
#include <map>
#include <string>

#include "runtime/dispatch.h"

namespace vtx {

// The COM class registry of the portable build: ProgID -> CLSID -> factory.
// The add-in's self-registration writes into it, the emulated host registers
// its components in it, and CreateObject looks classes up here.
// ProgIDs and CLSIDs are matched in any letter case, as the Windows registry
// matches them. Created objects belong to the caller.
// Thread-safety: not thread-safe; register at start-up.
class ClassRegistry {
 public:
  using Factory = std::function<Ref<Dispatch>()>;

  static ClassRegistry& Global();

  void Register(const std::string& prog_id, const std::string& clsid, Factory factory);
  // Returns false when the ProgID was not registered.
  bool Unregister(const std::string& prog_id);
  bool IsRegistered(const std::string& prog_id) const;
  std::string ClsidOf(const std::string& prog_id) const;  // "" when unknown
  // Raises 429 ("ActiveX component can't create object") when unknown.
  Ref<Dispatch> Create(const std::string& prog_id) const;
  // Creation by CLSID (DllGetClassObject); raises 429 when unknown.
  Ref<Dispatch> CreateByClsid(const std::string& clsid) const;

 private:
  struct Entry {
    std::string prog_id;
    std::string clsid;
    Factory factory;
  };
  const Entry* Find(const std::string& prog_id) const;
  std::map<std::string, Entry> by_prog_id_;  // key: ProgID in upper case
};

}  // namespace vtx
