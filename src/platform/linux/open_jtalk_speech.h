#pragma once
// The speech control on Open JTalk: one synthesis per utterance, played on the speech channel.
#include <atomic>
#include <chrono>
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
#include "platform/linux/open_jtalk_engine.h"
#include "platform/linux/open_jtalk_setup.h"
#include "platform/mixer.h"
#include "platform/speech_control.h"

namespace chimewell {

// The speech thread speaks, the preparing thread synthesizes ahead of need, each with an
// engine of its own; the other members are guarded by mutex_ unless marked otherwise.
class OpenJTalkSpeech final : public SpeechControl {
 public:
  using Report = std::function<void(const std::string&)>;
  // How long one synthesis may run before it is killed and its text given up.
  static constexpr std::chrono::milliseconds kSynthesisLimit{30000};

  // Empty fields of `setup` are looked up in the usual install places. `report` receives the
  // message that speech cannot work (on the calling or a speech thread): when it first
  // fails, and again at most once an hour while it keeps failing.
  OpenJTalkSpeech(Mixer& mixer, Report report, OpenJTalkSetup setup = {},
                  SteadyTime& time = SystemSteadyTime(),
                  std::chrono::milliseconds synthesis_limit = kSynthesisLimit);
  ~OpenJTalkSpeech() override;

  void SpeakText(const std::string& text) override;
  void SpeakTextAt(const std::string& text, WallMoment start_at,
                   std::optional<WallMoment> latest_start) override;
  uint64_t PassedOverCount() const override { return passed_over_.load(); }
  void Prepare(const std::string& text) override;
  void DiscardPrepared() override;
  void StopSpeech() override;
  int16_t Speaking() const override;
  std::string Unavailable() const override { return missing_; }
  std::chrono::milliseconds SynthesisTime() const override;
  void SetVolumeLeft(uint32_t volume) override;
  void SetVolumeRight(uint32_t volume) override;

  // False when the program, its dictionary or its voice is missing.
  bool Available() const { return missing_.empty(); }

 private:
  using Clips = std::vector<std::shared_ptr<const PcmClip>>;
  // What SpeakText asked for: the text, the moment its first word is due, if any, and the
  // latest it may start.
  struct Request {
    std::string text;
    std::optional<WallMoment> start_at;
    std::optional<WallMoment> latest_start;
  };
  // A text synthesized ahead of need, piece by piece; no clips when its synthesis failed.
  struct PreparedText {
    std::string text;
    Clips clips;
  };
  static constexpr size_t kKeptPrepared = 4;
  // How many of the latest preparations the synthesis time is judged by.
  static constexpr size_t kTimedPreparations = 8;

  void Run();
  void RunPreparing();
  void QueueSpeech(Request request);
  // Speaks the request of `generation`; returns when it has played out or was replaced.
  void Speak(const Request& request, uint64_t generation);
  // Synthesizes one text to keep; dropped when a discard came meanwhile.
  void PrepareText(const std::string& text);
  // The prepared sound of `text`, taken out of the store, waiting for a preparation of it
  // under way; nullopt when there is none.
  std::optional<Clips> TakePrepared(const std::string& text, uint64_t generation);
  // Tells the user of a failed synthesis; false for one that worked or was stopped.
  bool Reported(OpenJTalkEngine::Outcome outcome);
  // Places `clip` after `previous` has played out; null when speech was stopped or replaced.
  // The first piece goes to the request's moment.
  std::shared_ptr<MixerVoice> PlayPiece(const std::shared_ptr<const PcmClip>& clip,
                                        const std::shared_ptr<MixerVoice>& previous,
                                        const Request* first, uint64_t generation);
  void StopCurrentLocked();

  Mixer& mixer_;
  const Report report_;
  SteadyTime& time_;
  FailureReporter failures_;
  FailureReporter timeouts_;
  OpenJTalkSetup setup_;
  std::string missing_;
  std::unique_ptr<OpenJTalkEngine> speaking_engine_;   // the speech thread's
  std::unique_ptr<OpenJTalkEngine> preparing_engine_;  // the preparing thread's

  mutable std::mutex mutex_;
  std::condition_variable cv_;
  std::optional<Request> pending_;
  std::deque<std::string> to_prepare_;   // newest last
  std::optional<std::string> preparing_;  // the text under way on the preparing thread
  std::deque<PreparedText> prepared_;     // newest last
  uint64_t discards_ = 0;                 // every DiscardPrepared counts one
  std::deque<std::chrono::milliseconds> synthesis_times_;  // of the last preparations, newest last
  uint64_t generation_ = 0;  // every SpeakText and StopSpeech starts a new one
  std::atomic<int16_t> speaking_{0};
  std::atomic<uint64_t> passed_over_{0};
  std::atomic<uint32_t> volume_left_{65535}, volume_right_{65535};
  std::shared_ptr<MixerVoice> voice_;
  bool quit_ = false;
  std::thread thread_;
  std::thread preparing_thread_;
};

}  // namespace chimewell
