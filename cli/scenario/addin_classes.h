// The add-in classes a scenario may call, by name: how to create one and
// which operations (with their parameter declarations) it offers.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/method_table.h"

namespace vtx::cli {

struct AddinClass {
  std::string name;
  std::function<Ref<Dispatch>()> create;
  // The declaration of an operation (names compare without regard to case),
  // or nullptr.
  std::function<const MethodInfo*(std::string_view)> find;
  // Calls the operation `find` declared on an instance made by `create`:
  // through late binding, or directly for the class's private operations,
  // which late binding does not offer.
  std::function<Variant(Dispatch&, const MethodInfo&, std::vector<Variant>&)> invoke;
};

// "Application", "clsNLS", "clsElectronicRecord", "clsUtils",
// "ClsAdminSettings". Static storage.
const std::vector<AddinClass>& AddinClasses();

// The class of that exact name, or nullptr.
const AddinClass* FindAddinClass(std::string_view name);

}  // namespace vtx::cli
