#include "cli/scenario/host_environment.h"

namespace vtx::cli {

void ApplyEnvironment(const WrittenEnvironment& written, HostObjectSource& source,
                      emu::Environment& env) {
  if (written.user) {
    if (!*written.user) {
      env.user.reset();
    } else if (const WrittenRef& ref = **written.user; ref.id && !source.Resolve(ref)) {
      // A user the database does not hold: GetCurrentUser is Nothing, while
      // GetCurrentUserId still gives the id.
      env.user = emu::ObjectKey{ref.class_name, *ref.id};
    } else {
      env.user = source.ResolveKey(ref);
    }
  }
  if (written.logon_name) env.logon_name = *written.logon_name;
  if (written.computer_name) env.computer_name = *written.computer_name;
  if (written.variables) env.variables = {written.variables->begin(), written.variables->end()};
  if (written.language) env.language = *written.language;
  if (written.configuration) {
    env.configuration.clear();
    for (const auto& [path, value] : *written.configuration) {
      env.configuration.emplace_back(path, BuildValue(value, nullptr, source));
    }
  }
  if (written.catalog) {
    if (!*written.catalog) {
      env.catalog.reset();
    } else {
      std::vector<emu::CatalogText> texts;
      for (const auto& e : **written.catalog) {
        texts.push_back(emu::CatalogText{e.language, e.name_space, e.key, e.appendix, e.text});
      }
      env.catalog = std::move(texts);
    }
  }
  if (written.clock) env.clock = *written.clock;
  if (written.drives) {
    for (const auto& [drive, folder] : *written.drives) env.drives[drive] = folder;
  }
}

}  // namespace vtx::cli
