// chimewell-tool voiceset: makes a complete recorded-voice set of a voice type with the speech
// engine, one WAVE file per name of its list.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

#include "audio_tool_args.h"
#include "platform/linux/child_process.h"
#include "platform/linux/open_jtalk_setup.h"
#include "platform/wave_file.h"
#include "timesignal/voice_set_words.h"
#include "tool_command.h"

namespace chimewell::tool {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage = "voiceset --type N --out DIR";
constexpr int kToneRate = 48000;

int UsageError(const std::string& why) {
  std::fprintf(stderr, "voiceset: %s\nusage: chimewell-tool %s\n", why.c_str(), kUsage);
  return 2;
}

// Sine waves sounding together, with short fades so the tone does not click.
PcmClip MakeTone(const std::vector<double>& frequencies, double seconds) {
  PcmClip clip{kToneRate, 1, {}};
  const auto frames = static_cast<size_t>(seconds * kToneRate);
  const size_t fade = std::min<size_t>(kToneRate / 200, frames / 2);  // 5 ms
  const double amplitude = frequencies.empty() ? 0.0 : 0.5 / frequencies.size();
  clip.samples.reserve(frames);
  for (size_t i = 0; i < frames; ++i) {
    double value = 0;
    for (const double hz : frequencies) {
      value += amplitude * std::sin(2 * std::numbers::pi * hz * static_cast<double>(i) / kToneRate);
    }
    const size_t edge = std::min(i, frames - 1 - i);
    if (edge < fade) value *= static_cast<double>(edge) / static_cast<double>(fade);
    clip.samples.push_back(static_cast<int16_t>(std::lround(value * 32767)));
  }
  return clip;
}

bool WriteBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

// The engine pads each utterance with silence; words played one after another need it gone,
// all but a few milliseconds that keep the word's edges soft.
PcmClip TrimSilence(PcmClip clip) {
  constexpr int kThreshold = 300;  // about -40 dB
  const size_t channels = static_cast<size_t>(clip.channels);
  const size_t pad = static_cast<size_t>(clip.sample_rate / 50) * channels;  // 20 ms
  auto& s = clip.samples;
  size_t first = 0;
  while (first < s.size() && std::abs(s[first]) < kThreshold) ++first;
  size_t last = s.size();
  while (last > first && std::abs(s[last - 1]) < kThreshold) --last;
  if (first >= last) return clip;  // nothing but silence: leave it as it is
  first = first > pad ? (first - pad) / channels * channels : 0;
  last = std::min(s.size(), (last + pad + channels - 1) / channels * channels);
  s = std::vector<int16_t>(s.begin() + static_cast<std::ptrdiff_t>(first),
                           s.begin() + static_cast<std::ptrdiff_t>(last));
  return clip;
}

// Speaks `text` into the WAVE file `path` with Open JTalk.
bool Speak(const OpenJTalkSetup& setup, const fs::path& work, const std::string& text,
           const fs::path& path) {
  const fs::path input = work / "word.txt";
  {
    std::ofstream out(input, std::ios::binary | std::ios::trunc);
    out << text << "\n";
    if (!out) return false;
  }
  const fs::path raw = work / "word.wav";
  ChildProcess synthesis;
  if (!synthesis.Start({setup.command, "-x", setup.dictionary, "-m", setup.voice, "-ow",
                        raw.string(), input.string()}) ||
      !synthesis.Wait()) {
    return false;
  }
  const std::optional<PcmClip> clip = LoadWaveFile(raw.string());
  return clip && WriteBytes(path, EncodeWave(TrimSilence(*clip)));
}

bool MakeFile(const OpenJTalkSetup& setup, const fs::path& work, int type, const std::string& name,
              const fs::path& out_dir) {
  const VoiceFileContent content = VoiceFileContentFor(type, name);
  const fs::path path = out_dir / name;
  switch (content.kind) {
    case VoiceFileContent::Kind::kSpeech:
      return Speak(setup, work, content.text, path);
    case VoiceFileContent::Kind::kTone:
      return WriteBytes(path, EncodeWave(MakeTone(content.frequencies, content.seconds)));
    case VoiceFileContent::Kind::kSilence:
      return WriteBytes(path, EncodeWave(MakeTone({}, content.seconds)));
  }
  return false;
}

int Run(const std::vector<std::string>& args) {
  std::optional<int> type;
  std::string out;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] != "--type" && args[i] != "--out") return UsageError("unknown argument " + args[i]);
    if (i + 1 >= args.size()) return UsageError(args[i] + " needs a value");
    const std::string& value = args[++i];
    if (args[i - 1] == "--out") {
      out = value;
    } else if (!(type = ParseInt(value, 1, 5))) {
      return UsageError("--type takes a voice type from 1 to 5, not \"" + value + "\"");
    }
  }
  if (!type) return UsageError("--type is required");
  if (out.empty()) return UsageError("--out is required");

  std::string missing;
  const OpenJTalkSetup setup = FindOpenJTalk({}, &missing);
  if (!missing.empty()) {
    std::fprintf(stderr, "%s\n", missing.c_str());
    return 1;
  }
  std::error_code ec;
  fs::create_directories(out, ec);
  std::string work = (fs::temp_directory_path() / "chimewell-voiceset-XXXXXX").string();
  if (ec || ::mkdtemp(work.data()) == nullptr) {
    std::fprintf(stderr, "voiceset: cannot create the folder %s\n", out.c_str());
    return 1;
  }
  int failed = 0;
  const std::vector<std::string> names = VoiceSetNames(*type);
  for (const std::string& name : names) {
    if (!MakeFile(setup, work, *type, name, out)) {
      std::fprintf(stderr, "voiceset: could not make %s\n", (fs::path(out) / name).c_str());
      ++failed;
    }
  }
  fs::remove_all(work, ec);
  std::printf("%zu files of voice type %d in %s\n", names.size() - failed, *type, out.c_str());
  return failed == 0 ? 0 : 1;
}

constexpr char kDetails[] =
    "Makes a complete recorded-voice set of voice type N (1 to 5) with the speech engine, one\n"
    "WAVE file for each name the type needs, in DIR (created when missing). Useful to try the\n"
    "recorded-voice time signals without recordings of your own.\n";

const CommandRegistrar reg("voiceset", kUsage, &Run, kDetails);

}  // namespace
}  // namespace chimewell::tool
