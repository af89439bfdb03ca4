#pragma once
// Where the mixed sound goes: a sound device, a WAV capture file, or nowhere (paced in real time).
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace chimewell {

// The one output format of the mixer: 48 kHz, stereo, interleaved 16-bit samples.
inline constexpr int kMixRate = 48000;
inline constexpr int kMixChannels = 2;

// A sink is owned by its mixer and called only on the mixing thread (or, while that thread does
// not run, by the mixer's owner), so a sink needs no lock for its own state.
class AudioSink {
 public:
  virtual ~AudioSink() = default;
  // Takes `frames` stereo frames; blocks as long as the output needs to keep real time, so the
  // caller is never far ahead of what is heard. False when the output failed and cannot take
  // more (the device went away); the sink should then be closed.
  virtual bool Write(const int16_t* samples, size_t frames) = 0;
  // Plays out or saves what was written. Called once, last.
  virtual void Close() = 0;
  // What this sink is, for messages ("pulse", "alsa:default", "wav:/tmp/x.wav", "null").
  virtual std::string Describe() const = 0;
  // A capture keeps every moment, silences included, so its writes never pause. A device (or
  // nothing) may go without writes while nothing plays, which lets the program sleep.
  virtual bool KeepsTimeline() const { return false; }
  // How long from now until a frame written next is heard: what the device or the server
  // holds and has not played yet. The mixer places a clip meant for a wall-clock moment by it.
  virtual std::chrono::microseconds Delay() { return {}; }
  // Nothing has been written for a while: the sink may let its device sleep (a sound server's
  // stream is corked, an ALSA device closed), so the server and the card idle too. The next
  // write wakes it; the mixer writes silence ahead of a sound placed at a moment, which covers
  // the wake.
  virtual void Rest() {}
  // Called while nothing is written: as the mixer falls idle, then after the pause each call
  // asks for (nullopt: not until it falls idle again). A sink that looks after a device checks
  // it here, so a device lost while idle is noticed, and reopened, before the next sound.
  virtual std::optional<std::chrono::milliseconds> Tend() { return std::nullopt; }
  // False once the device is known to be gone without writing to it (its server ended).
  virtual bool Working() { return true; }
};

// A parsed --audio value. kAuto: the sound server when one answers, else ALSA "default".
struct AudioSinkSpec {
  enum class Kind { kAuto, kPulse, kAlsa, kWav, kNull };
  Kind kind = Kind::kAuto;
  std::string target;  // ALSA device name or WAV file path
};

// Parses "auto", "pulse", "alsa", "alsa:DEVICE", "wav:FILE" or "null". nullopt for
// anything else.
std::optional<AudioSinkSpec> ParseAudioSinkSpec(const std::string& text);
// The usage text for a bad value.
extern const char kAudioSinkUsage[];

// Discards the sound, taking as long as playing it would.
std::unique_ptr<AudioSink> MakeNullSink();
// Records the sound into a 16-bit stereo WAV file, at the pace it would play. The header is
// kept valid while writing, so the file can be read at any moment. nullptr when the file
// cannot be created. A failed write is told once through `report` (the capture goes on being
// paced, so the program keeps its timing).
std::unique_ptr<AudioSink> MakeWavFileSink(
    const std::string& path, std::function<void(const std::string&)> report = nullptr);

}  // namespace chimewell
