#pragma once
// The speech control on Open JTalk: one synthesis per utterance, played on the speech channel.
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/failure_reporter.h"
#include "platform/linux/child_process.h"
#include "platform/linux/open_jtalk_setup.h"
#include "platform/mixer.h"
#include "platform/speech_control.h"

namespace chimewell {

// The speech thread synthesizes and waits for playback; the other members are guarded by mutex_
// unless marked otherwise.
class OpenJTalkSpeech final : public SpeechControl {
 public:
  using Report = std::function<void(const std::string&)>;

  // Empty fields of `setup` are looked up in the usual install places. `report` receives the
  // message that speech cannot work (on the calling or the speech thread): when it first
  // fails, and again at most once an hour while it keeps failing.
  OpenJTalkSpeech(Mixer& mixer, Report report, OpenJTalkSetup setup = {},
                  SteadyTime& time = SystemSteadyTime());
  ~OpenJTalkSpeech() override;

  void SpeakText(const std::string& text) override;
  void SpeakTextAt(const std::string& text, int64_t start_at_ms) override;
  void Prepare(const std::string& text) override;
  void DiscardPrepared() override;
  void StopSpeech() override;
  int16_t Speaking() const override;
  void SetVolumeLeft(uint32_t volume) override;
  void SetVolumeRight(uint32_t volume) override;

  // False when the program, its dictionary or its voice is missing.
  bool Available() const { return missing_.empty(); }

 private:
  using Clips = std::vector<std::shared_ptr<const PcmClip>>;
  // What SpeakText asked for: the text, and the moment its first word is due, if any.
  struct Request {
    std::string text;
    std::optional<int64_t> start_at_ms;
  };
  // A text synthesized ahead of need, piece by piece.
  struct PreparedText {
    std::string text;
    Clips clips;
  };
  static constexpr size_t kKeptPrepared = 4;

  void Run();
  void QueueSpeech(std::string text, std::optional<int64_t> start_at_ms);
  // Speaks the request of `generation`; returns when it has played out or was replaced.
  void Speak(const Request& request, uint64_t generation);
  // Synthesizes one text to keep; dropped when speech or a discard came meanwhile.
  void PrepareText(const std::string& text);
  // The prepared sound of `text`, taken out of the store; empty when there is none.
  Clips TakePrepared(const std::string& text);
  std::shared_ptr<const PcmClip> Synthesize(const std::string& piece, uint64_t generation);
  // An Open JTalk process started ahead of need: it loads its dictionary and voice, then waits
  // for its line of text on stdin, so an utterance costs only the synthesis itself.
  struct Spare {
    std::shared_ptr<ChildProcess> process;
    int input = -1;
    std::string output;
  };
  Spare StartSpare();
  static void Discard(Spare& spare);
  void StopCurrentLocked();
  // The folder for Open JTalk's output; made anew when it was removed (a cleaned /tmp).
  // Speech thread only, after the constructor.
  bool EnsureWorkDir();

  Mixer& mixer_;
  const Report report_;
  FailureReporter failures_;
  OpenJTalkSetup setup_;
  std::string missing_;
  std::string work_dir_;

  mutable std::mutex mutex_;
  std::condition_variable cv_;
  std::optional<Request> pending_;
  std::deque<std::string> to_prepare_;   // newest last
  std::deque<PreparedText> prepared_;    // newest last
  uint64_t discards_ = 0;                // every DiscardPrepared counts one
  uint64_t generation_ = 0;  // every SpeakText and StopSpeech starts a new one
  std::atomic<int16_t> speaking_{0};
  std::atomic<uint32_t> volume_left_{65535}, volume_right_{65535};
  std::shared_ptr<ChildProcess> synthesis_;  // the process synthesizing right now
  Spare spare_;                              // used by the speech thread only
  uint64_t next_output_ = 0;
  std::shared_ptr<MixerVoice> voice_;
  bool quit_ = false;
  std::thread thread_;
};

}  // namespace chimewell
