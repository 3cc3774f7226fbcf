#pragma once

#include <memory>
#include <string>

#include "host/kv_object_store.h"

namespace vtx::emu {

class Store;

// KvSequences: the sequence declared on an attribute (in the attribute's own
// class, or inherited from its top class), or Nothing.
// Thread-safety: one thread. Ownership: returns new objects.
class EmuSequences : public KvSequences {
 public:
  explicit EmuSequences(std::shared_ptr<Store> store) : store_(std::move(store)) {}
  Ref<KvSequence> GetSequenceOfAttribute(const Ref<KvAttribute>& attribute) override;

 private:
  std::shared_ptr<Store> store_;
};

// A sequence kept in the database: NextValue takes the next number in its
// own transaction (two processes never get the same number) and returns the
// format applied to it, as a string.
class EmuSequence : public KvSequence {
 public:
  EmuSequence(std::shared_ptr<Store> store, int16_t class_id, std::string attribute)
      : store_(std::move(store)), class_id_(class_id), attribute_(std::move(attribute)) {}
  Variant NextValue() override;

 private:
  std::shared_ptr<Store> store_;
  int16_t class_id_;
  std::string attribute_;
};

}  // namespace vtx::emu
