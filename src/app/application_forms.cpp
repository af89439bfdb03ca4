// The settings forms of the configuration page, applied: each takes effect, is saved and
// has what depends on it worked out again here, so the page only reads and renders.
#include "app/application.h"
#include "app/recent_folders.h"
#include "core/settings_store.h"
#include "core/text_encoding.h"

namespace chimewell {

void Application::ApplyClockSettings(const ClockSettings& settings, bool debug_grid) {
  face_state_.DebugGrid = debug_grid;
  clock_settings_ = settings;
  LookUpFaceCharsets(deps_.fonts, clock_settings_, face_state_);
  LogEncodingChange(log_, deps_.paths.settings,
                    WriteClockSettings(deps_.paths.settings, clock_settings_));
  RedrawClockFace();
}

void Application::RedrawClockFace() { face_state_.FullRedrawPending = true; }

std::string Application::ApplyTimeSignalSettings(JihoSettings jiho) {
  const std::string& settings_file = deps_.paths.settings;
  // The recent folders come from the file as it stands, led by the folder now chosen.
  jiho.LastFolder = UpdateRecentFolders(ReadJihoSettings(settings_file).LastFolder, jiho.Folder);
  LogEncodingChange(log_, settings_file, WriteJihoSettings(settings_file, jiho));
  return ReloadTimeSignal();
}

void Application::SetAccessPasswordHash(const std::string& hash) {
  WriteAccessPasswordHash(deps_.paths.settings, hash);
}

void Application::AddRawLogLine(const std::string& line) { log_.AddRawLine(line); }

void Application::OverrideLateLimit(int seconds) { config_.LateLimit = seconds; }

}  // namespace chimewell
