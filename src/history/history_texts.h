#pragma once

// Texts and box styles the history operations show; shared by the viewer and
// the report so the data-model message reads the same from both.
namespace vtx::history {

inline constexpr const char* kHistoryClassName = "History";

inline constexpr const char* kDataModelError =
    "Data Model error: this object has no link class with History class. \r\n"
    "Please contact your administrator.";
// Critical-stop icon, forced to the foreground.
inline constexpr int kDataModelErrorStyle = 16 + 65536;

inline constexpr int kCriticalStop = 16;
inline constexpr const char* kAddInTitle = "VTX";

}  // namespace vtx::history
