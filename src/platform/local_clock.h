#pragma once

namespace vtx {

// Local date and time of this machine's clock as an OLE date, to the second,
// as the language's Now reads it (local_clock_posix.cc, local_clock_windows.cc).
// Thread-safe.
double LocalNowAsOleDate();

}  // namespace vtx
