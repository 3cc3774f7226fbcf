#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The meaning of a message box's style value: which buttons it has, which one
// is the default, which icon it shows. Pure functions; safe from any thread.
namespace vtx::message_box {

// Button identifiers as Windows returns them.
inline constexpr int32_t kOk = 1;
inline constexpr int32_t kCancel = 2;
inline constexpr int32_t kAbort = 3;
inline constexpr int32_t kRetry = 4;
inline constexpr int32_t kIgnore = 5;
inline constexpr int32_t kYes = 6;
inline constexpr int32_t kNo = 7;

// The buttons of `style`, left to right.
std::vector<int32_t> Buttons(int32_t style);
// The button that Enter presses: the one the style names as default, the
// first when it names none or one the box does not have.
int32_t DefaultButton(int32_t style);
// "OK", "Cancel", ...
std::string ButtonCaption(int32_t button);
// A readable account of the style: "Critical, OK" or "Critical, OK, foreground".
std::string Describe(int32_t style);

}  // namespace vtx::message_box
