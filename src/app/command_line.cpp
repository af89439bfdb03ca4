#include "app/command_line.h"

namespace chimewell {

const char* CommandLineUsage() {
  return "usage: chimewell [--home DIR] [--headless] "
         "[--audio pulse|alsa[:DEVICE]|wav:FILE|null] [--help] [--version]\n";
}

const char* CommandLineHelp() {
  return "\n"
         "Chimewell shows a digital clock, announces the time in Japanese and runs your\n"
         "schedule of spoken texts, time signals, sounds and MIDI music.\n"
         "\n"
         "Options:\n"
         "  --home DIR    keep the files in DIR (made when missing, with the default page\n"
         "                template copied in)\n"
         "  --headless    no window and no tray icon; the clock, the schedule, speech and the\n"
         "                configuration page all run. Chosen by itself without a display.\n"
         "  --audio SINK  where the sound goes: auto (the sound server when one answers, else\n"
         "                ALSA; the default), pulse, alsa (ALSA's default device), alsa:DEVICE,\n"
         "                wav:FILE (everything played, written to a WAVE file) or null\n"
         "  --help        show this text\n"
         "  --version     show the version\n"
         "\n"
         "Files: the settings (chimewell.ini), the schedule (chimewell.sch), your own days off\n"
         "(chimewell.hol, optional), the configuration page's template (chimewell.html) and the\n"
         "optional chimewell.imi live\n"
         "  - in DIR when --home DIR is given;\n"
         "  - beside the program, named after it, when you may write its folder (a build tree\n"
         "    or a copy of the program in a folder of your own);\n"
         "  - otherwise (an installed program) in $XDG_CONFIG_HOME/chimewell/, that is\n"
         "    ~/.config/chimewell/ unless XDG_CONFIG_HOME says otherwise.\n"
         "\n"
         "Configuration: open http://localhost:8080/ in a web browser (the program prints its\n"
         "address when it starts). The clock's right-click menu opens it with \"設定の表示と編集\"\n"
         "and changes the port with \"ポート設定\".\n"
         "Start at login: the box \"ログイン時に起動\" in the page's base settings. As a service\n"
         "without a window: systemctl --user enable --now chimewell\n";
}

CommandLineResult ParseCommandLine(const std::vector<std::string>& args) {
  CommandLineResult result;
  CommandLine& o = result.options;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= args.size()) {
        result.error = a + " needs a value";
        return false;
      }
      into = args[++i];
      return true;
    };
    if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--version") {
      o.version = true;
    } else if (a == "--headless") {
      o.headless = true;
    } else if (a == "--home") {
      std::string home;
      if (!value(home)) break;
      o.home = home;
    } else if (a == "--audio") {
      if (!value(o.audio)) break;
    } else {
      result.error = "unknown argument: " + a;
      break;
    }
  }
  return result;
}

}  // namespace chimewell
