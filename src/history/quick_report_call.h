#pragma once

#include <cstdint>

#include "host/kv_host.h"

namespace vtx::history {

// Hands the collection `objects` with the session to a new quick-report
// component ("KvQuickReport.GenerateRpt"), the two references passed by
// reference as object references (as the component declares them), through
// copies: once the report returned, `session` and `objects` hold what it
// handed back. Releases the component, empties the collection and returns
// the report's value as a 16-bit integer. A failure of the creation or of
// the report reaches the caller with both references as they were.
int16_t CallQuickReport(Ref<KvSession>& session, Ref<KvObjects>& objects);

}  // namespace vtx::history
