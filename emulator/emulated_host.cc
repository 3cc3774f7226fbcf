#include "emulator/emulated_host.h"

#include "emulator/components/host_components.h"
#include "emulator/session/emulated_platform.h"
#include "emulator/session/emulated_session.h"
#include "emulator/session/host_state.h"
#include "platform/local_clock.h"
#include "platform/utf8_path.h"

namespace vtx::emu {

namespace {

// The store reaches the host only weakly: objects handed out keep the store
// alive, and they must not keep the whole host alive through it.
StoreHooks HooksFor(const std::shared_ptr<HostState>& state) {
  std::weak_ptr<HostState> weak = state;
  StoreHooks hooks;
  hooks.clock = [weak]() {
    auto s = weak.lock();
    return s ? s->Now() : LocalNowAsOleDate();
  };
  hooks.current_user = [weak]() -> int32_t {
    auto s = weak.lock();
    return s && s->environment.user ? s->environment.user->object_id : 0;
  };
  hooks.map_path = [weak](const std::string& windows_path) {
    auto s = weak.lock();
    return s ? Utf8FromPath(s->platform->Paths().ToHost(windows_path)) : std::string();
  };
  return hooks;
}

}  // namespace

EmulatedHost::EmulatedHost(const DatabaseLocation& database, const nlohmann::json& model,
                           HostOptions options)
    : state_(std::make_shared<HostState>()) {
  if (options.drive_root)
    state_->platform = std::make_unique<ScriptedPlatform>(*options.drive_root);
  if (options.report_folder) state_->SetReportFolder(*options.report_folder);
  state_->database = database;
  state_->store =
      Store::Open(database, model, HooksFor(state_), state_->monitor, options.open_mode);
  RegisterCreatableComponents(*state_);
  session_ = EmulatedSession::Create(state_);
  platform_ = std::make_unique<EmulatedPlatform>(state_);
  SetEnvironment(Environment{});
}

EmulatedHost::~EmulatedHost() {
  // Traced arguments hold host objects, and host objects hold the host's
  // state: drop the trace nobody took so that the two can be freed.
  if (state_ && state_->monitor) state_->monitor->TakeTrace();
}

Ref<KvSession> EmulatedHost::Session() const { return session_; }

Ref<KvObjectStore> EmulatedHost::ObjectStore() const { return session_->ObjectStore(); }

Store& EmulatedHost::GetStore() const { return *state_->store; }

CallMonitor& EmulatedHost::Monitor() const { return *state_->monitor; }

Platform& EmulatedHost::GetPlatform() const { return *platform_; }

ScriptedPlatform& EmulatedHost::Scripted() const { return *state_->platform; }

const Environment& EmulatedHost::GetEnvironment() const { return state_->environment; }

void EmulatedHost::SetEnvironment(Environment environment) {
  ScriptedPlatform& platform = *state_->platform;
  platform.SetComputerName(environment.computer_name);
  platform.SetUserName(environment.logon_name);
  platform.SetEnvironment(environment.variables);
  platform.SetClock(environment.clock);
  for (const auto& [drive, folder] : environment.drives) platform.MapDrive(drive, folder);
  state_->environment = std::move(environment);
}

void EmulatedHost::AddAnswers(const HostAnswers& answers) {
  for (const DialogAction& action : answers.template_dialog)
    state_->platform->QueueDialogAnswer(action);
  for (const EditorAnswer& answer : answers.integration_editor)
    state_->answers.AddEditorAnswer(answer);
  for (const auto& answer : answers.modal_views) state_->answers.AddModalViewAnswer(answer);
}

ScriptedAnswers& EmulatedHost::Answers() const { return state_->answers; }

bool EmulatedHost::AnswerWasMissing() const {
  return state_->answers.AnswerWasMissing() || state_->platform->AnswerWasMissing();
}

void EmulatedHost::SetGlobal(const std::string& name, const Variant& value) {
  session_->Globals().Put(name, value);
}

Variant EmulatedHost::GetGlobal(const std::string& name) const {
  return session_->Globals().Peek(name);
}

std::filesystem::path EmulatedHost::ReportFolder() const { return state_->ReportFolder(); }

void EmulatedHost::SetReportFolder(std::filesystem::path folder) {
  state_->SetReportFolder(std::move(folder));
}

std::string EmulatedHost::DisplayPath(const std::filesystem::path& path) const {
  return state_->DisplayPath(path);
}

StepRecordings EmulatedHost::TakeRecordings() {
  return StepRecordings{state_->platform->TakeRecordings(), state_->recorder.Take(),
                        state_->monitor->TakeTrace()};
}

std::shared_ptr<const ViewRecord> EmulatedHost::ViewOnScreen() const {
  return state_->recorder.OnScreen();
}

}  // namespace vtx::emu
