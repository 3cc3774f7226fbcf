#pragma once

#include <memory>
#include <string>

#include "host/kv_object_store.h"

namespace vtx::emu {

class Store;

// A lookup table: the items of a lookup class (id, text). FindItem matches
// the text exactly; the lowest id wins when several items share a text.
// Thread-safety: one thread. Ownership: returns new objects.
class EmuLookupTable : public KvLookupTable {
 public:
  EmuLookupTable(std::shared_ptr<Store> store, int16_t class_id)
      : store_(std::move(store)), class_id_(class_id) {}
  Ref<KvLookupItem> FindItem(const std::string& text) override;

 private:
  std::shared_ptr<Store> store_;
  int16_t class_id_;
};

class EmuLookupItem : public KvLookupItem {
 public:
  EmuLookupItem(std::shared_ptr<Store> store, int32_t id, std::string text)
      : store_(std::move(store)), id_(id), text_(std::move(text)) {}
  Variant GetDefaultValue() override { return Variant(text_); }
  int32_t GetId() override;
  std::string GetText() override;

 private:
  std::shared_ptr<Store> store_;
  int32_t id_;
  std::string text_;
};

class EmuObjectDisplay : public KvObjectDisplay {
 public:
  EmuObjectDisplay(std::shared_ptr<Store> store, std::string text)
      : store_(std::move(store)), text_(std::move(text)) {}
  std::string GetText(int32_t flags) override;

 private:
  std::shared_ptr<Store> store_;
  std::string text_;
};

// Items of a lookup class, by text or by id; Nothing when absent.
Ref<KvLookupItem> FindLookupItemByText(const std::shared_ptr<Store>& store, int16_t class_id,
                                       const std::string& text);
Ref<KvLookupItem> FindLookupItemById(const std::shared_ptr<Store>& store, int16_t class_id,
                                     int32_t id);

}  // namespace vtx::emu
