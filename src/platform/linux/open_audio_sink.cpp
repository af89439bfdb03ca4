#include "platform/linux/open_audio_sink.h"

namespace chimewell {
namespace {

// The messages of this module, shown in the log and the panel.
std::string DeviceFailedText(const std::string& device, const std::string& reason) {
  return "サウンドデバイス " + device + " を開けません(" + reason + ")。音は出力されません";
}
std::string WavFailedText(const std::string& path) {
  return "録音ファイル " + path + " を作れません。音は出力されません";
}

}  // namespace

OpenedSink OpenAudioSink(const AudioSinkSpec& spec,
                         const std::function<void(const std::string&)>& report) {
  using Kind = AudioSinkSpec::Kind;
  std::unique_ptr<AudioSink> sink;
  std::string message;
  switch (spec.kind) {
    case Kind::kNull:
      return {MakeNullSink(), false};
    case Kind::kWav:
      sink = MakeWavFileSink(spec.target);
      if (!sink) message = WavFailedText(spec.target);
      break;
    case Kind::kAlsa: {
      std::string reason;
      sink = MakeAlsaSink(spec.target, &reason);
      if (!sink) message = DeviceFailedText(spec.target, reason);
      break;
    }
  }
  if (sink) return {std::move(sink), false};
  if (report) report(message);
  return {MakeNullSink(), true};
}

}  // namespace chimewell
