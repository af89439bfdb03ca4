#pragma once
// The settings values, one plain struct per section of the settings file, with their defaults.
#include <array>
#include <cstdint>
#include <string>

namespace chimewell {

// A colour as stored: 0x00BBGGRR, red in the low byte.
using Colour = uint32_t;

inline constexpr int kDefaultPort = 8080;
inline constexpr int kMaxLateLimit = 86400;

// [App]: window placement and the configuration server's port.
struct AppSettings {
  int Width = 391;
  int Height = 287;
  int Left = 245;
  int Top = 106;
  int PortNumber = kDefaultPort;

  bool operator==(const AppSettings&) const = default;
};

// [Config]: behaviour.
struct ConfigSettings {
  bool LipsView = false;
  bool IconicStart = false;
  int DoubleClick = 0;
  int SpeakOffset = 500;
  int BackVolume = 40;
  int DefaultVolume = 100;
  // Seconds a firing missed during a suspend or a forward clock step may still play late.
  int LateLimit = 60;
  // SoundFont for MIDI music; empty means the first one found under /usr/share/sounds/sf2.
  std::string SoundFont;
  // Quiet hours, "h:mm" each: from QuietFrom (included) until QuietTo (not included), on the
  // weekdays of QuietDays (bit n for weekday n, 1 Sunday .. 7 Saturday) on which they begin.
  // Both empty: none.
  std::string QuietFrom;
  std::string QuietTo;
  int QuietDays = 254;
  // Announcements wait while a call or Do Not Disturb keeps the desktop busy.
  bool QuietWhenBusy = true;

  bool operator==(const ConfigSettings&) const = default;
};

// Flag bits of ClockSettings::FontStyles, in the order the style keys are stored.
enum ClockStyleBit : uint8_t {
  kDateBold = 1,
  kDateItalic = 2,
  kHHMMBold = 4,
  kHHMMItalic = 8,
  kAMPMBold = 16,
  kAMPMItalic = 32,
  kSecBold = 64,
  kSecItalic = 128,
};

// [Clock]: the clock face.
struct ClockSettings {
  Colour BackColor = 16770244;
  Colour DateColor = 0;
  std::string DateFormat = "[wa] [mon] [day] [wday]";
  std::string DateName;
  int DateSize = 16;
  int DateX = 16;
  int DateY = 16;
  std::string DigitName;
  Colour HHMM1Color = 255;
  Colour HHMM2Color = 16711680;
  int HHMMSize = 80;
  int HHMMX = 8;
  int HHMMY = 20;
  Colour AMPM1Color = 2003199;
  Colour AMPM2Color = 8388736;
  int AMPMSize = 24;
  int AMPMX = 8;
  int AMPMY = 200;
  Colour SecColor = 11674146;
  int SecSize = 24;
  int SecX = 300;
  int SecY = 200;
  uint8_t FontStyles = 0;  // ClockStyleBit flags

  bool operator==(const ClockSettings&) const = default;
};

inline constexpr int kAddOnCount = 16;
inline constexpr int kRecentFolderCount = 20;

// [Jiho]: the time signal.
struct JihoSettings {
  std::string Folder = ".";
  std::string Format = "[hour][min]";
  int Type = 0;
  int MLVC = 0;
  bool ErrorView = true;
  // A chime the scheduled time signal plays first, its mark on the moment (a built-in chime's
  // name or a sound file; empty: none), and whether the spoken time follows it (0) or it
  // stands instead of it (1).
  std::string Chime;
  int ChimeMode = 0;
  std::array<std::string, kAddOnCount> AddOn;              // AddOn1..AddOn16
  std::array<std::string, kAddOnCount> AddOff;             // AddOff1..AddOff16
  std::array<std::string, kRecentFolderCount> LastFolder;  // LastFolder1..LastFolder20

  bool operator==(const JihoSettings&) const = default;
};

// The application info file's [App] section (read-only).
struct AppInfo {
  bool Debug = false;
  std::string MyPageURL;

  bool operator==(const AppInfo&) const = default;
};

}  // namespace chimewell
