#pragma once

#include <gmock/gmock.h>

#include "host/kv_session.h"

namespace vtx::testing {

// MockKvSession, MockKvGlobals, MockKvUserInfo, MockKvConfiguration.
#include "support/generate_mocks.inc"

#include "host/kv_session.def"

#include "host/generate_end.inc"

}  // namespace vtx::testing
