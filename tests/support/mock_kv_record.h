#pragma once

#include <gmock/gmock.h>

#include "host/kv_record.h"

namespace vtx::testing {

// MockKvRecord, MockKvRecordList, MockKvHeader, MockKvHeaderField, MockKvStrings.
#include "support/generate_mocks.inc"

#include "host/kv_record.def"

#include "host/generate_end.inc"

}  // namespace vtx::testing
