#pragma once
// Options shared by the sound subcommands (say, play): parsing and opening the sink.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/audio_sink.h"
#include "platform/linux/open_audio_sink.h"

namespace chimewell::tool {

struct AudioToolArgs {
  std::string subject;  // the text or file
  int volume = 100;
  int repeat = 1;
  AudioSinkSpec audio{AudioSinkSpec::Kind::kAuto, ""};
  std::string soundfont;
};

inline std::optional<int> ParseInt(const std::string& text, int low, int high) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  size_t i = text[0] == '-' ? 1 : 0;
  if (i == text.size()) return std::nullopt;
  for (size_t k = i; k < text.size(); ++k) {
    if (text[k] < '0' || text[k] > '9') return std::nullopt;
  }
  const int value = std::stoi(text);
  if (value < low || value > high) return std::nullopt;
  return value;
}

// Parses SUBJECT and the options; `flags` lists which of --volume --repeat --soundfont --audio
// the command takes. Prints the problem and returns nullopt on bad input.
inline std::optional<AudioToolArgs> ParseAudioToolArgs(const std::vector<std::string>& args,
                                                       const std::vector<std::string>& flags) {
  AudioToolArgs out;
  bool have_subject = false;
  const auto takes = [&](const std::string& f) {
    for (const auto& x : flags) {
      if (x == f) return true;
    }
    return false;
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
      if (!takes(a)) {
        std::fprintf(stderr, "unknown option %s\n", a.c_str());
        return std::nullopt;
      }
      if (i + 1 >= args.size()) {
        std::fprintf(stderr, "%s needs a value\n", a.c_str());
        return std::nullopt;
      }
      const std::string& v = args[++i];
      if (a == "--volume") {
        const auto n = ParseInt(v, 0, 100);
        if (!n) {
          std::fprintf(stderr, "--volume takes a whole number from 0 to 100, not \"%s\"\n",
                       v.c_str());
          return std::nullopt;
        }
        out.volume = *n;
      } else if (a == "--repeat") {
        const auto n = ParseInt(v, 1, 1000);
        if (!n) {
          std::fprintf(stderr, "--repeat takes a whole number from 1 to 1000, not \"%s\"\n",
                       v.c_str());
          return std::nullopt;
        }
        out.repeat = *n;
      } else if (a == "--audio") {
        const auto spec = ParseAudioSinkSpec(v);
        if (!spec) {
          std::fprintf(stderr, "%s, not \"%s\"\n", kAudioSinkUsage, v.c_str());
          return std::nullopt;
        }
        out.audio = *spec;
      } else if (a == "--soundfont") {
        out.soundfont = v;
      }
    } else if (!have_subject) {
      out.subject = a;
      have_subject = true;
    } else {
      std::fprintf(stderr, "unexpected argument \"%s\"\n", a.c_str());
      return std::nullopt;
    }
  }
  if (!have_subject) {
    std::fprintf(stderr, "missing argument\n");
    return std::nullopt;
  }
  return out;
}

// Opens the sink; a WAV file that cannot be written is an error (the user asked for the file),
// a sound device that cannot be opened falls back to silence with a message.
inline std::unique_ptr<AudioSink> OpenToolSink(const AudioSinkSpec& spec) {
  auto opened = OpenAudioSink(
      spec, [](const std::string& message) { std::fprintf(stderr, "%s\n", message.c_str()); });
  if (opened.fell_back && spec.kind == AudioSinkSpec::Kind::kWav) return nullptr;
  return std::move(opened.sink);
}

}  // namespace chimewell::tool
