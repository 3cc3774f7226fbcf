#pragma once

#include <array>
#include <string_view>

namespace vtx::registration {

// The fixed COM identity of the add-in. These values are published to the
// host through registration and the type library: never change them.

struct ClassIdentity {
  std::string_view name;  // class name in the type library
  std::string_view prog_id;
  std::string_view clsid;
  std::string_view interface_name;  // default dual interface
  std::string_view interface_id;
};

inline constexpr std::string_view kTypeLibraryName = "VTX_HA";
inline constexpr std::string_view kTypeLibraryId = "{FE92BEDD-BF15-4B55-89D3-30FBDCDA7FA1}";
// Every object is used only on the thread that created it.
inline constexpr std::string_view kThreadingModel = "Apartment";

inline constexpr ClassIdentity kApplicationClass = {
    "Application", "VTX_HA.Application", "{6C394113-CCC6-42AD-8233-CED3F22EBB56}", "_Application",
    "{5A1771BF-68FD-42BC-84C3-6A55814D99F0}"};

inline constexpr ClassIdentity kNlsClass = {"clsNLS", "VTX_HA.clsNLS",
                                            "{747A2453-B868-475A-AB87-35943CA54100}", "_clsNLS",
                                            "{2D1CAC70-E3C2-4653-8895-FF24E76EE659}"};

inline constexpr std::array<ClassIdentity, 2> kPublicClasses = {kApplicationClass, kNlsClass};

// The slots of the dual interfaces, in order: early-bound callers depend on
// the position of each operation.
inline constexpr std::array<std::string_view, 5> kApplicationOperations = {
    "ViewHistory", "GenerateHistoryReport", "DeleteHistory", "ExecuteCreateNewERObject",
    "ExecuteSaveObjectAsGlobal"};
inline constexpr std::array<std::string_view, 1> kNlsOperations = {"GetTranslation"};

}  // namespace vtx::registration
