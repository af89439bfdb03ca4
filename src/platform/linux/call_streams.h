#pragma once
// What the sound server's streams say about a call: the rule, apart from the server, so it can
// be checked case by case.
#include <string>
#include <vector>

namespace chimewell {

// A recording stream (a source output) as the server lists it.
struct RecordingStream {
  bool corked = false;
  bool from_monitor = false;    // records what a sink plays, not a microphone
  std::string process_id;       // application.process.id, empty when not told
  std::string resample_method;  // "peaks" for PulseAudio's level meters
  std::string stream_monitor;   // stream.monitor: "true" for PipeWire's level meters
};

// A playing stream (a sink input) as the server lists it.
struct PlayingStream {
  std::string role;  // media.role, empty when not told
};

// True when some other program records from a real source, or plays a phone-call stream.
// `own_process_id` is ours: our own streams never make a call.
bool InCall(const std::vector<RecordingStream>& recordings,
            const std::vector<PlayingStream>& playings, const std::string& own_process_id);

}  // namespace chimewell
