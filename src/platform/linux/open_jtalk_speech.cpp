#include "platform/linux/open_jtalk_speech.h"

#include <signal.h>

#include <algorithm>
#include <utility>

#include "core/fault.h"
#include "core/speech_readings.h"
#include "platform/platform_texts.h"

namespace chimewell {
namespace {

float Gain(uint32_t volume) {
  return static_cast<float>(std::min<uint32_t>(volume, 65535)) / 65535.0f;
}

// A process that died makes writing to its pipe fail with EPIPE instead of ending the program.
void BlockPipeSignal() {
  sigset_t pipe_signal;
  sigemptyset(&pipe_signal);
  sigaddset(&pipe_signal, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &pipe_signal, nullptr);
}

}  // namespace

OpenJTalkSpeech::OpenJTalkSpeech(Mixer& mixer, Report report, OpenJTalkSetup setup,
                                 SteadyTime& time, std::chrono::milliseconds synthesis_limit)
    : mixer_(mixer),
      report_(report),
      time_(time),
      failures_(report, time),
      timeouts_(std::move(report), time) {
  setup_ = FindOpenJTalk(std::move(setup), &missing_);
  if (!missing_.empty()) return;
  speaking_engine_ = std::make_unique<OpenJTalkEngine>(setup_, synthesis_limit, report_);
  preparing_engine_ = std::make_unique<OpenJTalkEngine>(setup_, synthesis_limit, report_);
  if (!speaking_engine_->HasWorkFolder() || !preparing_engine_->HasWorkFolder()) {
    missing_ = platform_texts::kNoSynthesisFolder;
    speaking_engine_.reset();
    preparing_engine_.reset();
    return;
  }
  thread_ = std::thread([this] { RunCatchingFaults("speech", [this] { Run(); }, report_); });
  preparing_thread_ =
      std::thread([this] { RunCatchingFaults("speech", [this] { RunPreparing(); }, report_); });
}

OpenJTalkSpeech::~OpenJTalkSpeech() {
  {
    const std::lock_guard lock(mutex_);
    quit_ = true;
    ++generation_;
    StopCurrentLocked();
    if (preparing_engine_) preparing_engine_->Stop();
  }
  cv_.notify_all();
  if (thread_.joinable()) thread_.join();
  if (preparing_thread_.joinable()) preparing_thread_.join();
}

void OpenJTalkSpeech::SpeakText(const std::string& text) { QueueSpeech({text, {}, {}}); }

void OpenJTalkSpeech::SpeakTextAt(const std::string& text, WallMoment start_at,
                                  std::optional<WallMoment> latest_start) {
  QueueSpeech({text, start_at, latest_start});
}

void OpenJTalkSpeech::QueueSpeech(Request request) {
  if (!Available()) {
    failures_.Failed(missing_);
    return;
  }
  {
    const std::lock_guard lock(mutex_);
    ++generation_;
    StopCurrentLocked();
    pending_ = std::move(request);
    speaking_ = 1;  // from this moment on, synthesis included
  }
  cv_.notify_all();
}

void OpenJTalkSpeech::Prepare(const std::string& text) {
  if (!Available()) return;
  {
    const std::lock_guard lock(mutex_);
    const bool known =
        preparing_ == text ||
        std::any_of(prepared_.begin(), prepared_.end(),
                    [&](const PreparedText& kept) { return kept.text == text; }) ||
        std::find(to_prepare_.begin(), to_prepare_.end(), text) != to_prepare_.end();
    if (known) return;
    to_prepare_.push_back(text);
    if (to_prepare_.size() > kKeptPrepared) to_prepare_.pop_front();
  }
  cv_.notify_all();
}

void OpenJTalkSpeech::DiscardPrepared() {
  {
    const std::lock_guard lock(mutex_);
    to_prepare_.clear();
    prepared_.clear();
    ++discards_;
    if (preparing_) preparing_engine_->Stop();
  }
  cv_.notify_all();  // speech waiting for that preparation goes on without it
}

void OpenJTalkSpeech::StopSpeech() {
  {
    const std::lock_guard lock(mutex_);
    ++generation_;
    pending_.reset();
    StopCurrentLocked();
    speaking_ = 0;
  }
  cv_.notify_all();
}

int16_t OpenJTalkSpeech::Speaking() const { return speaking_.load(); }

void OpenJTalkSpeech::SetVolumeLeft(uint32_t volume) {
  const std::lock_guard lock(mutex_);
  volume_left_ = volume;
  if (voice_) voice_->SetGain(Gain(volume_left_), Gain(volume_right_));
}

void OpenJTalkSpeech::SetVolumeRight(uint32_t volume) {
  const std::lock_guard lock(mutex_);
  volume_right_ = volume;
  if (voice_) voice_->SetGain(Gain(volume_left_), Gain(volume_right_));
}

void OpenJTalkSpeech::StopCurrentLocked() {
  // Only what is being spoken: a text being prepared is still wanted.
  if (speaking_engine_) speaking_engine_->Stop();
  if (voice_) voice_->Stop();
}

void OpenJTalkSpeech::Run() {
  BlockPipeSignal();
  speaking_engine_->Warm();
  std::unique_lock lock(mutex_);
  while (true) {
    cv_.wait(lock, [this] { return quit_ || pending_.has_value(); });
    if (quit_) return;
    const Request request = std::move(*pending_);
    pending_.reset();
    const uint64_t generation = generation_;
    speaking_engine_->Reset();
    lock.unlock();
    RunCatchingFaults("speech", [&] { Speak(request, generation); }, report_);
    lock.lock();
    voice_.reset();
    // A newer request keeps "speaking" up; only the last one lets it fall.
    if (generation == generation_ && !pending_) speaking_ = 0;
  }
}

void OpenJTalkSpeech::RunPreparing() {
  BlockPipeSignal();
  preparing_engine_->Warm();
  std::unique_lock lock(mutex_);
  while (true) {
    cv_.wait(lock, [this] { return quit_ || !to_prepare_.empty(); });
    if (quit_) return;
    const std::string text = std::move(to_prepare_.front());
    to_prepare_.pop_front();
    preparing_ = text;
    preparing_engine_->Reset();
    lock.unlock();
    RunCatchingFaults("speech", [&] { PrepareText(text); }, report_);
    lock.lock();
    preparing_.reset();
    cv_.notify_all();  // speech may be waiting for this text
  }
}

void OpenJTalkSpeech::PrepareText(const std::string& text) {
  uint64_t discards = 0;
  {
    const std::lock_guard lock(mutex_);
    discards = discards_;
  }
  const SteadyTime::TimePoint began = time_.Now();
  Clips clips;
  for (const std::string& piece : SplitForOpenJTalk(ApplySpeechReadings(text))) {
    std::optional<PcmClip> clip;
    const auto outcome = preparing_engine_->Synthesize(piece, &clip);
    if (outcome == OpenJTalkEngine::Outcome::kStopped) return;  // discarded, or shutting down
    if (!Reported(outcome)) {
      clips.push_back(std::make_shared<const PcmClip>(std::move(*clip)));
    } else if (outcome == OpenJTalkEngine::Outcome::kTimedOut) {
      // Kept as a text with nothing to say, so that speaking it does not hang once more.
      clips.clear();
      break;
    }
  }
  const std::lock_guard lock(mutex_);
  synthesis_times_.push_back(
      std::chrono::duration_cast<std::chrono::milliseconds>(time_.Now() - began));
  if (synthesis_times_.size() > kTimedPreparations) synthesis_times_.pop_front();
  if (discards != discards_) return;
  prepared_.push_back({text, std::move(clips)});
  if (prepared_.size() > kKeptPrepared) prepared_.pop_front();
}

std::chrono::milliseconds OpenJTalkSpeech::SynthesisTime() const {
  const std::lock_guard lock(mutex_);
  std::chrono::milliseconds slowest{0};
  for (const auto taken : synthesis_times_) slowest = std::max(slowest, taken);
  return slowest;
}

bool OpenJTalkSpeech::Reported(OpenJTalkEngine::Outcome outcome) {
  switch (outcome) {
    case OpenJTalkEngine::Outcome::kDone:
    case OpenJTalkEngine::Outcome::kStopped: return false;
    case OpenJTalkEngine::Outcome::kFailed: failures_.Failed(platform_texts::kSynthesisFailed); break;
    case OpenJTalkEngine::Outcome::kNoWorkFolder: failures_.Failed(platform_texts::kNoSynthesisFolder); break;
    case OpenJTalkEngine::Outcome::kTimedOut: timeouts_.Failed(platform_texts::kSynthesisTimedOut); break;
  }
  return true;
}

std::optional<OpenJTalkSpeech::Clips> OpenJTalkSpeech::TakePrepared(const std::string& text,
                                                                    uint64_t generation) {
  std::unique_lock lock(mutex_);
  // Its preparation is under way: it is nearer done than a synthesis started afresh.
  cv_.wait(lock, [&] { return quit_ || generation != generation_ || preparing_ != text; });
  for (auto it = prepared_.begin(); it != prepared_.end(); ++it) {
    if (it->text == text) {
      Clips clips = std::move(it->clips);
      prepared_.erase(it);
      return clips;
    }
  }
  // Asked for but not begun: the speech thread does it now.
  to_prepare_.erase(std::remove(to_prepare_.begin(), to_prepare_.end(), text), to_prepare_.end());
  return std::nullopt;
}

void OpenJTalkSpeech::Speak(const Request& request, uint64_t generation) {
  const std::optional<Clips> prepared = TakePrepared(request.text, generation);
  const std::vector<std::string> pieces =
      prepared ? std::vector<std::string>{} : SplitForOpenJTalk(ApplySpeechReadings(request.text));
  const size_t count = prepared ? prepared->size() : pieces.size();
  std::shared_ptr<MixerVoice> previous;
  bool started = false;
  bool dropped = false;
  // False once the first piece was dropped for starting too late: the rest goes with it.
  const auto note_started = [&] {
    if (!started && previous && previous->WaitStarted()) {
      started = true;
      NotifyAudioStart();
    }
    dropped = previous && previous->Dropped();
    return !dropped;
  };
  for (size_t i = 0; i < count; ++i) {
    // The next piece is synthesized while the one before it plays.
    std::shared_ptr<const PcmClip> clip;
    if (prepared) {
      clip = (*prepared)[i];
    } else {
      std::optional<PcmClip> made;
      const auto outcome = speaking_engine_->Synthesize(pieces[i], &made);
      if (outcome == OpenJTalkEngine::Outcome::kStopped) break;
      if (Reported(outcome)) {
        if (outcome == OpenJTalkEngine::Outcome::kTimedOut) break;  // the queue moves on
        continue;
      }
      clip = std::make_shared<const PcmClip>(std::move(*made));
    }
    if (!note_started()) break;
    auto voice = PlayPiece(clip, previous, i == 0 ? &request : nullptr, generation);
    if (!voice) break;
    previous = std::move(voice);
  }
  if (!dropped && note_started() && previous) previous->Wait();
  if (dropped) ++passed_over_;
  if (started) NotifyAudioStop();
}

std::shared_ptr<MixerVoice> OpenJTalkSpeech::PlayPiece(
    const std::shared_ptr<const PcmClip>& clip, const std::shared_ptr<MixerVoice>& previous,
    const Request* first, uint64_t generation) {
  // A voice that ends frees its waiter in time to queue the next one for the very next block.
  if (previous) previous->Wait();
  const std::lock_guard lock(mutex_);
  if (generation != generation_) return nullptr;
  const float left = Gain(volume_left_);
  const float right = Gain(volume_right_);
  // The first piece goes to its moment; the others follow it.
  voice_ = first && first->start_at ? mixer_.PlayAt(MixChannel::kSpeech, clip, *first->start_at,
                                                    left, right, first->latest_start)
                                    : mixer_.Play(MixChannel::kSpeech, clip, left, right);
  return voice_;
}

}  // namespace chimewell
