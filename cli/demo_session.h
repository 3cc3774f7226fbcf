// The working session `vtx demo` plays: a built-in scenario over the demo
// model, so that the demo runs through the same machinery as `vtx run`.
#pragma once

#include <string_view>

namespace vtx::cli {

// The scenario in its JSON form (model "builtin:demo"); static storage.
std::string_view DemoSessionJson();

}  // namespace vtx::cli
