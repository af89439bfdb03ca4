#pragma once
// Opens the sink an --audio value names; a sound device that cannot be opened gives the null sink.
#include <functional>
#include <memory>
#include <string>

#include "platform/audio_sink.h"

namespace chimewell {

struct OpenedSink {
  std::unique_ptr<AudioSink> sink;  // never null
  bool fell_back = false;           // the requested sink could not be opened; this is null
};

// `report` receives one message (Japanese, for the log and the panel) when falling back.
OpenedSink OpenAudioSink(const AudioSinkSpec& spec,
                         const std::function<void(const std::string&)>& report);

// The ALSA playback device `device` ("default", "hw:0", ...), or nullptr with `error` set.
std::unique_ptr<AudioSink> MakeAlsaSink(const std::string& device, std::string* error);

}  // namespace chimewell
