#include "platform/linux/open_audio_sink.h"

#include "platform/recovering_sink.h"

namespace chimewell {
namespace {

std::string WavFailedText(const std::string& path) {
  return "録音ファイル " + path + " を作れません。音は出力されません";
}

RecoveringSink::Opener DeviceOpener(const AudioSinkSpec& spec) {
  using Kind = AudioSinkSpec::Kind;
  switch (spec.kind) {
    case Kind::kPulse:
      return [](std::string* error) { return MakePulseSink(error); };
    case Kind::kAlsa:
      return [device = spec.target](std::string* error) { return MakeAlsaSink(device, error); };
    default:
      // The sound server when one answers, else ALSA's default device. A server that is
      // there but wedged would be reached through ALSA's default too, where its plugin waits
      // far longer: it is left for the next attempt.
      return [](std::string* error) {
        auto sink = MakePulseSink(error);
        if (sink || *error == kPulseNoAnswer) return sink;
        return MakeAlsaSink("default", error);
      };
  }
}

std::string DeviceName(const AudioSinkSpec& spec) {
  using Kind = AudioSinkSpec::Kind;
  if (spec.kind == Kind::kPulse) return "pulse";
  if (spec.kind == Kind::kAlsa) return "alsa:" + spec.target;
  return "auto";
}

}  // namespace

OpenedSink OpenAudioSink(const AudioSinkSpec& spec,
                         const std::function<void(const std::string&)>& report) {
  using Kind = AudioSinkSpec::Kind;
  switch (spec.kind) {
    case Kind::kNull:
      return {MakeNullSink(), false};
    case Kind::kWav: {
      auto sink = MakeWavFileSink(spec.target, report);
      if (sink) return {std::move(sink), false};
      if (report) report(WavFailedText(spec.target));
      return {MakeNullSink(), true};
    }
    default:
      return {std::make_unique<RecoveringSink>(DeviceOpener(spec), DeviceName(spec), report),
              false};
  }
}

}  // namespace chimewell
