#pragma once

#include "host/kv_forward.h"

namespace vtx {

#include "host/generate_interfaces.inc"

#include "host/kv_components.def"

#include "host/generate_end.inc"

// ProgIDs of the host components and outside components the add-in creates.
namespace progid {
inline constexpr const char* kGuiServices = "KvGUISrv.KvGUIServices";
inline constexpr const char* kCommonGui = "KvGUISrv.KvCommonGUI";
inline constexpr const char* kGuiServicesNotify = "KvGuiSrv.KVGuiServices";
inline constexpr const char* kIntegrationStore = "KvIntegrationTool.KvIntegrationStore";
inline constexpr const char* kSessionUtil = "KvUtil.KvSessionUtil";
inline constexpr const char* kRecordList = "KvRecList.KvRecordList";
// A free-standing, empty record (KvRecord) of the same library.
inline constexpr const char* kRecord = "KvRecList.KvRecord";
inline constexpr const char* kQuickReport = "KvQuickReport.GenerateRpt";
inline constexpr const char* kNlsCatalog = "Orbent.NlsCatalog";
inline constexpr const char* kFileSystemObject = "Scripting.FileSystemObject";
}  // namespace progid

}  // namespace vtx
