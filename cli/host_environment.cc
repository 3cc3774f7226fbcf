#include "cli/host_environment.h"

namespace vtx::cli {

void ApplyEnvironment(const EnvironmentSpec& spec, HostObjectSource& source,
                      emu::Environment& env) {
  if (spec.user) {
    if (!*spec.user) {
      env.user.reset();
    } else if (const ObjectRefSpec& ref = **spec.user; ref.id && !source.Resolve(ref)) {
      // A user the database does not hold: GetCurrentUser is Nothing, while
      // GetCurrentUserId still gives the id.
      env.user = emu::ObjectKey{ref.class_name, *ref.id};
    } else {
      env.user = source.ResolveKey(ref);
    }
  }
  if (spec.logon_name) env.logon_name = *spec.logon_name;
  if (spec.computer_name) env.computer_name = *spec.computer_name;
  if (spec.variables) env.variables = {spec.variables->begin(), spec.variables->end()};
  if (spec.language) env.language = *spec.language;
  if (spec.configuration) {
    env.configuration.clear();
    for (const auto& [path, value] : *spec.configuration) {
      env.configuration.emplace_back(path, BuildValue(value, nullptr, source));
    }
  }
  if (spec.catalog) {
    if (!*spec.catalog) {
      env.catalog.reset();
    } else {
      std::vector<emu::CatalogText> texts;
      for (const auto& e : **spec.catalog) {
        texts.push_back(emu::CatalogText{e.language, e.name_space, e.key, e.appendix, e.text});
      }
      env.catalog = std::move(texts);
    }
  }
  if (spec.clock) env.clock = *spec.clock;
  if (spec.drives) {
    for (const auto& [drive, folder] : *spec.drives) env.drives[drive] = folder;
  }
}

}  // namespace vtx::cli
