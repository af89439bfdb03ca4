#include "platform/linux/open_audio_sink.h"

#include "platform/platform_texts.h"
#include "platform/recovering_sink.h"

namespace chimewell {
namespace {

using Kind = AudioSinkSpec::Kind;
using Report = std::function<void(const std::string&)>;

OpenedSink OpenNull(const AudioSinkSpec&, const Report&) { return {MakeNullSink(), false}; }

OpenedSink OpenCapture(const AudioSinkSpec& spec, const Report& report) {
  auto sink = MakeWavFileSink(spec.target, report);
  if (sink) return {std::move(sink), false};
  if (report) report(platform_texts::CaptureCannotCreate(spec.target));
  return {MakeNullSink(), true};
}

// A device is kept in a RecoveringSink, which opens it now and again whenever it is lost.
OpenedSink OpenDevice(RecoveringSink::Opener open, std::string name, const Report& report) {
  return {std::make_unique<RecoveringSink>(std::move(open), std::move(name), report), false};
}

OpenedSink OpenPulse(const AudioSinkSpec&, const Report& report) {
  return OpenDevice([](std::string* error) { return MakePulseSink(error); }, "pulse", report);
}

OpenedSink OpenAlsa(const AudioSinkSpec& spec, const Report& report) {
  return OpenDevice(
      [device = spec.target](std::string* error) { return MakeAlsaSink(device, error); },
      "alsa:" + spec.target, report);
}

// The sound server when one answers, else ALSA's default device. A server that is there but
// wedged would be reached through ALSA's default too, where its plugin waits far longer: it is
// left for the next attempt.
OpenedSink OpenAuto(const AudioSinkSpec&, const Report& report) {
  return OpenDevice(
      [](std::string* error) {
        auto sink = MakePulseSink(error);
        if (sink || *error == kPulseNoAnswer) return sink;
        return MakeAlsaSink("default", error);
      },
      "auto", report);
}

// The one place that says which backend serves each kind of --audio value.
struct Backend {
  Kind kind;
  OpenedSink (*open)(const AudioSinkSpec&, const Report&);
};
constexpr Backend kBackends[] = {
    {Kind::kAuto, OpenAuto},   {Kind::kPulse, OpenPulse}, {Kind::kAlsa, OpenAlsa},
    {Kind::kWav, OpenCapture}, {Kind::kNull, OpenNull},
};

}  // namespace

OpenedSink OpenAudioSink(const AudioSinkSpec& spec, const Report& report) {
  for (const Backend& backend : kBackends) {
    if (backend.kind == spec.kind) return backend.open(spec, report);
  }
  return OpenAuto(spec, report);
}

}  // namespace chimewell
