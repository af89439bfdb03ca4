#pragma once
// Reading and writing the settings values in the settings file and the application info file.
#include <filesystem>

#include "core/ini_file.h"
#include "core/settings.h"

namespace chimewell {

// Ports outside 1..32766 read as kDefaultPort.
inline constexpr int kMinPort = 1;
inline constexpr int kMaxPort = 32766;

// What start-up reads, in this order: [App], [Config], [Clock].
struct StartupSettings {
  AppSettings app;
  ConfigSettings config;
  ClockSettings clock;
};

// Readers. A missing file, section or key, or a value that does not convert, gives the
// matching field of `defaults`.
AppSettings ReadAppSettings(const IniFile& ini, const AppSettings& defaults = {});
ConfigSettings ReadConfigSettings(const IniFile& ini, const ConfigSettings& defaults = {});
ClockSettings ReadClockSettings(const IniFile& ini, const ClockSettings& defaults = {});
JihoSettings ReadJihoSettings(const IniFile& ini, const JihoSettings& defaults = {});
AppInfo ReadAppInfo(const IniFile& ini, const AppInfo& defaults = {});

// Whole-file reads: the start-up read, the time-signal read and the application info file.
StartupSettings ReadStartupSettings(const std::filesystem::path& settings_file);
JihoSettings ReadJihoSettings(const std::filesystem::path& settings_file);
AppInfo ReadAppInfo(const std::filesystem::path& info_file);

// Writers: each rewrites the settings file once with its keys, in the listed order, and throws
// IniWriteError when the file cannot be written (the old file is then unchanged). Those that
// write texts tell whether a CP932 file had to become UTF-8 for them.
// Window close: [App] Width, Height, Left, Top.
void WriteWindowPlacement(const std::filesystem::path& settings_file, const AppSettings& app);
// Port panel: [App] PortNumber.
void WritePortNumber(const std::filesystem::path& settings_file, int port);
// Settings form: [Config] DoubleClick, IconicStart, LipsView, SpeakOffset, DefaultVolume,
// BackVolume, LateLimit. SoundFont is only read, never written.
void WriteConfigSettings(const std::filesystem::path& settings_file, const ConfigSettings& config);
// Access password of other machines: [Config] AccessPasswordHash, a salted hash; empty when
// none is set. Read at every request from another machine, so it is never held in memory.
std::string ReadAccessPasswordHash(const std::filesystem::path& settings_file);
void WriteAccessPasswordHash(const std::filesystem::path& settings_file, const std::string& hash);
// Time-signal form: [Jiho] LastFolder1..20, Type, MLVC, Folder, Format, ErrorView, AddOn1..16,
// AddOff1..16.
EncodingChange WriteJihoSettings(const std::filesystem::path& settings_file,
                                 const JihoSettings& jiho);
// Clock-face form: every [Clock] key, the eight style booleans last.
EncodingChange WriteClockSettings(const std::filesystem::path& settings_file,
                                  const ClockSettings& clock);

}  // namespace chimewell
