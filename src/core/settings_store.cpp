#include "core/settings_store.h"

#include <algorithm>
#include <array>
#include <string>

namespace chimewell {
namespace {

constexpr std::string_view kApp = "App";
constexpr std::string_view kConfig = "Config";
constexpr std::string_view kClock = "Clock";
constexpr std::string_view kJiho = "Jiho";

// The style keys in bit order: DateBold is bit 0, SecItalic bit 7.
constexpr std::array<std::string_view, 8> kStyleKeys = {
    "DateBold", "DateItalic", "HHMMBold", "HHMMItalic",
    "AMPMBold", "AMPMItalic", "SecBold",  "SecItalic",
};

std::string Numbered(std::string_view key, size_t index) {
  return std::string(key) + std::to_string(index + 1);
}

Colour ReadColour(const IniFile& ini, std::string_view key, Colour default_value) {
  return static_cast<Colour>(ini.ReadInteger(kClock, key, static_cast<int>(default_value)));
}

void WriteColour(IniFile& ini, std::string_view key, Colour value) {
  ini.WriteInteger(kClock, key, static_cast<int>(value));
}

}  // namespace

AppSettings ReadAppSettings(const IniFile& ini, const AppSettings& defaults) {
  AppSettings app;
  app.Width = ini.ReadInteger(kApp, "Width", defaults.Width);
  app.Height = ini.ReadInteger(kApp, "Height", defaults.Height);
  app.Left = ini.ReadInteger(kApp, "Left", defaults.Left);
  app.Top = ini.ReadInteger(kApp, "Top", defaults.Top);
  app.PortNumber = ini.ReadInteger(kApp, "PortNumber", defaults.PortNumber);
  if (app.PortNumber < kMinPort || app.PortNumber > kMaxPort) app.PortNumber = kDefaultPort;
  return app;
}

ConfigSettings ReadConfigSettings(const IniFile& ini, const ConfigSettings& defaults) {
  ConfigSettings config;
  config.LipsView = ini.ReadBool(kConfig, "LipsView", defaults.LipsView);
  config.IconicStart = ini.ReadBool(kConfig, "IconicStart", defaults.IconicStart);
  config.DoubleClick = ini.ReadInteger(kConfig, "DoubleClick", defaults.DoubleClick);
  config.SpeakOffset = ini.ReadInteger(kConfig, "SpeakOffset", defaults.SpeakOffset);
  config.BackVolume = ini.ReadInteger(kConfig, "BackVolume", defaults.BackVolume);
  config.DefaultVolume = ini.ReadInteger(kConfig, "DefaultVolume", defaults.DefaultVolume);
  config.LateLimit =
      std::clamp(ini.ReadInteger(kConfig, "LateLimit", defaults.LateLimit), 0, kMaxLateLimit);
  config.SoundFont = ini.ReadString(kConfig, "SoundFont", defaults.SoundFont);
  config.QuietFrom = ini.ReadString(kConfig, "QuietFrom", defaults.QuietFrom);
  config.QuietTo = ini.ReadString(kConfig, "QuietTo", defaults.QuietTo);
  config.QuietDays = ini.ReadInteger(kConfig, "QuietDays", defaults.QuietDays) & 0xFE;
  config.QuietWhenBusy = ini.ReadBool(kConfig, "QuietWhenBusy", defaults.QuietWhenBusy);
  return config;
}

ClockSettings ReadClockSettings(const IniFile& ini, const ClockSettings& defaults) {
  ClockSettings c;
  c.BackColor = ReadColour(ini, "BackColor", defaults.BackColor);
  c.DateColor = ReadColour(ini, "DateColor", defaults.DateColor);
  c.DateFormat = ini.ReadString(kClock, "DateFormat", defaults.DateFormat);
  c.DateName = ini.ReadString(kClock, "DateName", defaults.DateName);
  c.DateSize = ini.ReadInteger(kClock, "DateSize", defaults.DateSize);
  c.DateX = ini.ReadInteger(kClock, "DateX", defaults.DateX);
  c.DateY = ini.ReadInteger(kClock, "DateY", defaults.DateY);
  c.DigitName = ini.ReadString(kClock, "DigitName", defaults.DigitName);
  c.HHMM1Color = ReadColour(ini, "HHMM1Color", defaults.HHMM1Color);
  c.HHMM2Color = ReadColour(ini, "HHMM2Color", defaults.HHMM2Color);
  c.HHMMSize = ini.ReadInteger(kClock, "HHMMSize", defaults.HHMMSize);
  c.HHMMX = ini.ReadInteger(kClock, "HHMMX", defaults.HHMMX);
  c.HHMMY = ini.ReadInteger(kClock, "HHMMY", defaults.HHMMY);
  c.AMPM1Color = ReadColour(ini, "AMPM1Color", defaults.AMPM1Color);
  c.AMPM2Color = ReadColour(ini, "AMPM2Color", defaults.AMPM2Color);
  c.AMPMSize = ini.ReadInteger(kClock, "AMPMSize", defaults.AMPMSize);
  c.AMPMX = ini.ReadInteger(kClock, "AMPMX", defaults.AMPMX);
  c.AMPMY = ini.ReadInteger(kClock, "AMPMY", defaults.AMPMY);
  c.SecColor = ReadColour(ini, "SecColor", defaults.SecColor);
  c.SecSize = ini.ReadInteger(kClock, "SecSize", defaults.SecSize);
  c.SecX = ini.ReadInteger(kClock, "SecX", defaults.SecX);
  c.SecY = ini.ReadInteger(kClock, "SecY", defaults.SecY);
  c.FontStyles = 0;
  for (size_t bit = 0; bit < kStyleKeys.size(); ++bit) {
    const auto flag = static_cast<uint8_t>(1u << bit);
    if (ini.ReadBool(kClock, kStyleKeys[bit], (defaults.FontStyles & flag) != 0)) {
      c.FontStyles |= flag;
    }
  }
  return c;
}

JihoSettings ReadJihoSettings(const IniFile& ini, const JihoSettings& defaults) {
  JihoSettings j;
  j.Folder = ini.ReadString(kJiho, "Folder", defaults.Folder);
  j.Format = ini.ReadString(kJiho, "Format", defaults.Format);
  j.Type = ini.ReadInteger(kJiho, "Type", defaults.Type);
  j.MLVC = ini.ReadInteger(kJiho, "MLVC", defaults.MLVC);
  j.ErrorView = ini.ReadBool(kJiho, "ErrorView", defaults.ErrorView);
  j.Chime = ini.ReadString(kJiho, "Chime", defaults.Chime);
  j.ChimeMode = ini.ReadInteger(kJiho, "ChimeMode", defaults.ChimeMode) == 1 ? 1 : 0;
  for (size_t i = 0; i < j.AddOff.size(); ++i) {
    j.AddOff[i] = ini.ReadString(kJiho, Numbered("AddOff", i), defaults.AddOff[i]);
  }
  for (size_t i = 0; i < j.AddOn.size(); ++i) {
    j.AddOn[i] = ini.ReadString(kJiho, Numbered("AddOn", i), defaults.AddOn[i]);
  }
  for (size_t i = 0; i < j.LastFolder.size(); ++i) {
    j.LastFolder[i] = ini.ReadString(kJiho, Numbered("LastFolder", i), defaults.LastFolder[i]);
  }
  return j;
}

AppInfo ReadAppInfo(const IniFile& ini, const AppInfo& defaults) {
  AppInfo info;
  info.Debug = ini.ReadBool(kApp, "Debug", defaults.Debug);
  info.MyPageURL = ini.ReadString(kApp, "MyPageURL", defaults.MyPageURL);
  return info;
}

StartupSettings ReadStartupSettings(const std::filesystem::path& settings_file) {
  const IniFile ini(settings_file);
  StartupSettings s;
  s.app = ReadAppSettings(ini);
  s.config = ReadConfigSettings(ini);
  s.clock = ReadClockSettings(ini);
  return s;
}

JihoSettings ReadJihoSettings(const std::filesystem::path& settings_file) {
  return ReadJihoSettings(IniFile(settings_file));
}

AppInfo ReadAppInfo(const std::filesystem::path& info_file) {
  return ReadAppInfo(IniFile(info_file));
}

void WriteWindowPlacement(const std::filesystem::path& settings_file, const AppSettings& app) {
  IniFile ini(settings_file);
  ini.WriteInteger(kApp, "Width", app.Width);
  ini.WriteInteger(kApp, "Height", app.Height);
  ini.WriteInteger(kApp, "Left", app.Left);
  ini.WriteInteger(kApp, "Top", app.Top);
  ini.Save();
}

void WritePortNumber(const std::filesystem::path& settings_file, int port) {
  IniFile ini(settings_file);
  ini.WriteInteger(kApp, "PortNumber", port);
  ini.Save();
}

void WriteConfigSettings(const std::filesystem::path& settings_file, const ConfigSettings& config) {
  IniFile ini(settings_file);
  ini.WriteInteger(kConfig, "DoubleClick", config.DoubleClick);
  ini.WriteBool(kConfig, "IconicStart", config.IconicStart);
  ini.WriteBool(kConfig, "LipsView", config.LipsView);
  ini.WriteInteger(kConfig, "SpeakOffset", config.SpeakOffset);
  ini.WriteInteger(kConfig, "DefaultVolume", config.DefaultVolume);
  ini.WriteInteger(kConfig, "BackVolume", config.BackVolume);
  ini.WriteInteger(kConfig, "LateLimit", config.LateLimit);
  ini.WriteString(kConfig, "QuietFrom", config.QuietFrom);
  ini.WriteString(kConfig, "QuietTo", config.QuietTo);
  ini.WriteInteger(kConfig, "QuietDays", config.QuietDays);
  ini.WriteBool(kConfig, "QuietWhenBusy", config.QuietWhenBusy);
  ini.Save();
}

std::string ReadAccessPasswordHash(const std::filesystem::path& settings_file) {
  return IniFile(settings_file).ReadString(kConfig, "AccessPasswordHash", "");
}

void WriteAccessPasswordHash(const std::filesystem::path& settings_file, const std::string& hash) {
  IniFile ini(settings_file);
  ini.WriteString(kConfig, "AccessPasswordHash", hash);
  ini.Save();
}

EncodingChange WriteJihoSettings(const std::filesystem::path& settings_file,
                                 const JihoSettings& jiho) {
  IniFile ini(settings_file);
  for (size_t i = 0; i < jiho.LastFolder.size(); ++i) {
    ini.WriteString(kJiho, Numbered("LastFolder", i), jiho.LastFolder[i]);
  }
  ini.WriteInteger(kJiho, "Type", jiho.Type);
  ini.WriteInteger(kJiho, "MLVC", jiho.MLVC);
  ini.WriteString(kJiho, "Folder", jiho.Folder);
  ini.WriteString(kJiho, "Format", jiho.Format);
  ini.WriteBool(kJiho, "ErrorView", jiho.ErrorView);
  for (size_t i = 0; i < jiho.AddOn.size(); ++i) {
    ini.WriteString(kJiho, Numbered("AddOn", i), jiho.AddOn[i]);
  }
  for (size_t i = 0; i < jiho.AddOff.size(); ++i) {
    ini.WriteString(kJiho, Numbered("AddOff", i), jiho.AddOff[i]);
  }
  // The chime came later than the others; it follows them.
  ini.WriteString(kJiho, "Chime", jiho.Chime);
  ini.WriteInteger(kJiho, "ChimeMode", jiho.ChimeMode);
  return ini.Save();
}

EncodingChange WriteClockSettings(const std::filesystem::path& settings_file,
                                  const ClockSettings& c) {
  IniFile ini(settings_file);
  WriteColour(ini, "BackColor", c.BackColor);
  WriteColour(ini, "DateColor", c.DateColor);
  ini.WriteString(kClock, "DateFormat", c.DateFormat);
  ini.WriteString(kClock, "DateName", c.DateName);
  ini.WriteInteger(kClock, "DateSize", c.DateSize);
  ini.WriteInteger(kClock, "DateX", c.DateX);
  ini.WriteInteger(kClock, "DateY", c.DateY);
  ini.WriteString(kClock, "DigitName", c.DigitName);
  WriteColour(ini, "HHMM1Color", c.HHMM1Color);
  WriteColour(ini, "HHMM2Color", c.HHMM2Color);
  ini.WriteInteger(kClock, "HHMMSize", c.HHMMSize);
  ini.WriteInteger(kClock, "HHMMX", c.HHMMX);
  ini.WriteInteger(kClock, "HHMMY", c.HHMMY);
  WriteColour(ini, "AMPM1Color", c.AMPM1Color);
  WriteColour(ini, "AMPM2Color", c.AMPM2Color);
  ini.WriteInteger(kClock, "AMPMSize", c.AMPMSize);
  ini.WriteInteger(kClock, "AMPMX", c.AMPMX);
  ini.WriteInteger(kClock, "AMPMY", c.AMPMY);
  WriteColour(ini, "SecColor", c.SecColor);
  ini.WriteInteger(kClock, "SecSize", c.SecSize);
  ini.WriteInteger(kClock, "SecX", c.SecX);
  ini.WriteInteger(kClock, "SecY", c.SecY);
  for (size_t bit = 0; bit < kStyleKeys.size(); ++bit) {
    ini.WriteBool(kClock, kStyleKeys[bit], (c.FontStyles & (1u << bit)) != 0);
  }
  return ini.Save();
}

}  // namespace chimewell
