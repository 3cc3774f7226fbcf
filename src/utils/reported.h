#pragma once

#include <utility>

#include "runtime/runtime_error.h"
#include "utils/cls_utils.h"

namespace vtx {

// Runs `body` under a reporting handler: a run-time error is handed to
// clsUtils::GetError under `operation` and the operation ends with its
// type's empty result (false, "", ...). Other exceptions pass through.
template <class Body>
auto Reported(const char* operation, Body&& body) -> decltype(body()) {
  try {
    return std::forward<Body>(body)();
  } catch (const RuntimeError& error) {
    clsUtils().GetError(operation, error);
    return {};
  }
}

}  // namespace vtx
