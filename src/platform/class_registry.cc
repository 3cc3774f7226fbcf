#include "platform/class_registry.h"

#include <utility>

namespace vtx {

namespace {

// ProgIDs and CLSIDs are ASCII; this is what toupper does in the C locale
// the process runs in, without a library call per character.
std::string Fold(const std::string& s) {
  std::string out = s;
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

}  // namespace

ClassRegistry& ClassRegistry::Global() {
  static ClassRegistry registry;
  return registry;
}

void ClassRegistry::Register(const std::string& prog_id, const std::string& clsid,
                             Factory factory) {
  by_prog_id_[Fold(prog_id)] = Entry{prog_id, clsid, std::move(factory)};
}

bool ClassRegistry::Unregister(const std::string& prog_id) {
  return by_prog_id_.erase(Fold(prog_id)) > 0;
}

const ClassRegistry::Entry* ClassRegistry::Find(const std::string& prog_id) const {
  auto it = by_prog_id_.find(Fold(prog_id));
  return it == by_prog_id_.end() ? nullptr : &it->second;
}

bool ClassRegistry::IsRegistered(const std::string& prog_id) const {
  return Find(prog_id) != nullptr;
}

std::string ClassRegistry::ClsidOf(const std::string& prog_id) const {
  const Entry* e = Find(prog_id);
  return e ? e->clsid : std::string();
}

Ref<Dispatch> ClassRegistry::Create(const std::string& prog_id) const {
  const Entry* e = Find(prog_id);
  if (!e || !e->factory) Raise(err::kCannotCreateObject);
  Ref<Dispatch> object = e->factory();
  if (!object) Raise(err::kCannotCreateObject);
  return object;
}

Ref<Dispatch> ClassRegistry::CreateByClsid(const std::string& clsid) const {
  const std::string wanted = Fold(clsid);
  for (const auto& [_, e] : by_prog_id_)
    if (!e.clsid.empty() && Fold(e.clsid) == wanted) return Create(e.prog_id);
  Raise(err::kCannotCreateObject);
}

}  // namespace vtx
