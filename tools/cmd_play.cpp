// chimewell-tool play: plays a sound file (WAVE, FLAC, Ogg, MP3) or a MIDI file, told apart by
// content, to the end.
#include <chrono>
#include <iterator>
#include <thread>

#include "audio_tool_args.h"
#include "core/bounded_file.h"
#include "platform/linux/fluidsynth_midi.h"
#include "platform/mixer.h"
#include "platform/wave_file.h"
#include "tool_command.h"

namespace chimewell::tool {
namespace {

int PlayWave(Mixer& mixer, PcmClip clip, const AudioToolArgs& args) {
  const auto shared = std::make_shared<const PcmClip>(std::move(clip));
  const float gain = static_cast<float>(args.volume) / 100;
  for (int i = 0; i < args.repeat; ++i) mixer.Play(MixChannel::kSound, shared, gain, gain)->Wait();
  return 0;
}

int PlayMidi(Mixer& mixer, const AudioToolArgs& args) {
  FluidSynthMidi midi(mixer, args.soundfont);
  if (midi.KBGMOpen(10, -1) != 0) {
    std::fprintf(stderr, "no SoundFont could be loaded (%s)\n",
                 midi.soundfont().empty() ? "none found" : midi.soundfont().c_str());
    return 1;
  }
  int32_t handle = 0;
  int rc = 0;
  if (midi.KBGMLoadFile(&handle, args.subject) != 0) {
    std::fprintf(stderr, "%s: not a MIDI file that can be played\n", args.subject.c_str());
    rc = 1;
  }
  for (int i = 0; rc == 0 && i < args.repeat; ++i) {
    if (midi.KBGMPlay(handle, 0) != 0) {
      std::fprintf(stderr, "%s: cannot be played\n", args.subject.c_str());
      rc = 1;
      break;
    }
    midi.KBGMSetVolume(handle, args.volume);
    KbgmInfo info;
    do {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      midi.KBGMGetInfo(handle, &info);
    } while (info.playing != 0);
  }
  // Let the last notes ring out before the sink closes.
  std::this_thread::sleep_for(std::chrono::milliseconds(rc == 0 ? 500 : 0));
  midi.KBGMFree(handle);
  midi.KBGMClose();
  return rc;
}

int Run(const std::vector<std::string>& args) {
  const auto parsed = ParseAudioToolArgs(args, {"--volume", "--repeat", "--audio", "--soundfont"});
  if (!parsed) return 2;
  const std::optional<std::string> file = ReadRegularFile(parsed->subject, FileKind::kSound);
  if (!file) {
    std::fprintf(stderr, "%s: cannot be read\n", parsed->subject.c_str());
    return 1;
  }
  const std::vector<uint8_t> bytes(file->begin(), file->end());
  const bool is_midi = !ExtractMidiData(bytes).empty();
  // Sound files go through the decoder the schedule's sounds use, so what plays here plays there.
  std::optional<PcmClip> clip;
  if (!is_midi) clip = ParseWave(bytes);
  if (!is_midi && !clip) {
    std::fprintf(stderr, "%s: neither a sound file that can be played nor a MIDI file\n",
                 parsed->subject.c_str());
    return 1;
  }
  auto sink = OpenToolSink(parsed->audio);
  if (!sink) return 1;
  Mixer mixer(std::move(sink));
  mixer.Start();
  const int rc = is_midi ? PlayMidi(mixer, *parsed) : PlayWave(mixer, std::move(*clip), *parsed);
  mixer.Stop();
  return rc;
}

constexpr char kDetails[] =
    "Plays a sound file (WAVE, FLAC, Ogg Vorbis or Opus, MP3) or a MIDI file, told apart by its\n"
    "content, to the end, as the schedule would.\n"
    "  --volume N            volume in percent, 0 to 100 (100 if not given)\n"
    "  --repeat N            play it N times\n"
    "  --soundfont SF2       the SoundFont for MIDI music instead of the one found on the system\n";

const CommandRegistrar reg("play",
                           "play FILE [--volume N] [--repeat N] [--audio SINK] [--soundfont SF2]",
                           &Run, kDetails);

}  // namespace
}  // namespace chimewell::tool
