#pragma once
// Opens the sink an --audio value names. A sound device (the sound server or ALSA) is kept in
// a RecoveringSink, which reopens it whenever it fails and tells the user once each way.
#include <functional>
#include <memory>
#include <string>

#include "platform/audio_sink.h"

namespace chimewell {

struct OpenedSink {
  std::unique_ptr<AudioSink> sink;  // never null
  bool fell_back = false;           // a capture file could not be created; this is null
};

// `report` receives the messages (Japanese, for the log and the panel); it may be called on
// the mixing thread.
OpenedSink OpenAudioSink(const AudioSinkSpec& spec,
                         const std::function<void(const std::string&)>& report);

// The device sinks below are owned by the one that opens them (a RecoveringSink, on the thread
// of a reopening) and then called only on the mixing thread; neither takes a lock of the mixer.
// The sound server, or nullptr with `error` set when none answers. Its stream's callbacks run on
// the library's own thread and only wake the writer, under the library's loop lock.
std::unique_ptr<AudioSink> MakePulseSink(std::string* error);
// The error of MakePulseSink for a server that is there but did not answer in time.
extern const char kPulseNoAnswer[];
// The ALSA playback device `device` ("default", "hw:0", ...), or nullptr with `error` set.
std::unique_ptr<AudioSink> MakeAlsaSink(const std::string& device, std::string* error);

}  // namespace chimewell
