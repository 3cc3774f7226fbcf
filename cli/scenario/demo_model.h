// The demo data model built into vtx: parts, documents, projects, users,
// history and electronic records, the settings store's classes and the
// profile-card table. `vtx demo` and `vtx init` use it, and scenarios name it
// as "builtin:demo".
#pragma once

#include <string_view>

namespace vtx::cli {

// The model in the scenario's model form (JSON text); static storage.
std::string_view DemoModelJson();

}  // namespace vtx::cli
