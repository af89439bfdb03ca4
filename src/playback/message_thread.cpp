#include "playback/message_thread.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "core/local_time.h"
#include "playback/playback_texts.h"
#include "playback/record_queue.h"

namespace chimewell {

namespace {

// A cycle that found nothing to do (an entry ending exactly now) waits this long rather than
// spinning until the clock moves on.
constexpr int64_t kIdleCycleMs = 1;

}  // namespace

int8_t TMessageThread::LowByte(int16_t value) {
  return static_cast<int8_t>(static_cast<uint8_t>(static_cast<uint16_t>(value) & 0xFF));
}

TMessageThread::TMessageThread(Clock& clock, UiHandOff hand_off, MessageThreadHost host)
    : WorkerThread(clock, std::move(hand_off)), host_(std::move(host)) {}

TMessageThread::~TMessageThread() { Join(); }

bool TMessageThread::TooLateLocked(std::optional<WallMoment> start_at) const {
  const auto latest = start_at ? LatestStartLocked(*start_at) : std::nullopt;
  return latest && clock_.WallNow() > *latest;
}

std::optional<WallMoment> TMessageThread::LatestStartLocked(WallMoment start_at) const {
  if (!late_limit_) return std::nullopt;
  return start_at + *late_limit_;
}

void TMessageThread::LogPassedOver(WallMoment start_at, const std::string& text) {
  const std::string at = FormatDateTime("hh:nn.ss", LocalOf(start_at.UnixMs()));
  host_.log.AddLogLine(text.empty() ? playback_texts::PassedOverTimeSignal(at)
                                    : playback_texts::PassedOverSpeech(at, text));
}

bool TMessageThread::HasWork() const {
  return !time_signal_.empty() || !wave_list_.empty() || !message_list_.empty();
}

// ---- UI-thread operations ----

void TMessageThread::SkipCurrent() {
  {
    const auto lock = Locked();
    skip_ = true;
    Wake();
  }
  host_.sound.Purge();
  StopSpeech();
}

void TMessageThread::StopSpeech() { StopSpeechOnUi(); }

void TMessageThread::SetMute(bool on) {
  {
    const auto lock = Locked();
    mute_ = on;
    Wake();
  }
  if (on) host_.sound.Purge();
  ApplySpeechVolume();
}

void TMessageThread::OnTerminate() {
  // Ending means ending now: a fragment or WAVE file that sounds is cut, not waited for.
  host_.sound.Purge();
}

// ---- the worker ----

void TMessageThread::Execute() {
  try {
    for (;;) {
      HoldWhileSuspended();
      {
        // Deciding to end and refusing further items happen under one lock, so an item is
        // either seen here or handed to a fresh worker by its caller.
        const auto lock = Locked();
        if (Terminated(lock) || !HasWork()) {
          MarkEnded(lock);
          break;
        }
      }
      if (RunCycle() == Outcome::kIdle) Sleep(kIdleCycleMs);
    }
  } catch (...) {
    // A failing speech control (or a closed hand-off at shut-down) ends the worker; what is
    // still queued is dropped below, and the next queue operation starts a fresh worker.
    ReportFault(std::current_exception());
  }
  bool superseded = false;
  {
    const auto lock = Locked();
    MarkEnded(lock);
    superseded = Superseded(lock);
  }
  if (!superseded) {
    try {
      hand_off_.Run([this] { StopSpeechOnUi(); });
    } catch (...) {
    }
  }
  const auto lock = Locked();
  time_signal_.clear();
  wave_list_.clear();
  message_list_.clear();
}

TMessageThread::Outcome TMessageThread::RunCycle() {
  PollState();
  bool muted = false;
  bool still_speaking = false;
  {
    const auto lock = Locked();
    muted = mute_;
    still_speaking = speaking_ > 0 && speaking_ >= speaking_at_start_ && clock_.Now() < deadline_;
  }
  if (muted) {
    // Nothing plays and nothing expires while muted; unmuting wakes the worker at once.
    Sleep(kMutedPollMs, [this] { return !mute_; });
    return Outcome::kWorked;
  }
  if (still_speaking) {
    Sleep(kSpeechPollMs, [this] { return skip_; });
    return Outcome::kWorked;
  }
  LogSpeechPassedOver();
  // The next message from another system is queued here, in time to be chosen below.
  ReportFinished();
  PurgeQueues();
  hand_off_.Run([this] { StopSpeechOnUi(); });

  bool has_time_signal = false;
  bool sound_first = false;
  {
    const auto lock = Locked();
    has_time_signal = !time_signal_.empty();
    sound_first = PlacedSoundFirstLocked();
  }
  // A chime placed before the announcement that follows it plays first, whatever its kind.
  if (sound_first && PlayNextWave()) return Outcome::kWorked;
  if (has_time_signal) {
    PlayTimeSignal();
    return Outcome::kWorked;
  }
  if (SpeakNextEntry()) return Outcome::kWorked;
  const bool played = PlayNextWave();
  const auto lock = Locked();
  skip_ = false;
  return played ? Outcome::kWorked : Outcome::kIdle;
}

bool TMessageThread::PlacedSoundFirstLocked() const {
  std::optional<WallMoment> sound;
  for (const TSoundRec& rec : wave_list_) {
    if (rec.StartAt && rec.Count > 0) sound = std::min(sound.value_or(*rec.StartAt), *rec.StartAt);
  }
  if (!sound) return false;
  if (!time_signal_.empty() && time_signal_start_at_ && *time_signal_start_at_ <= *sound) {
    return false;
  }
  return std::none_of(message_list_.begin(), message_list_.end(), [&sound](const TMessageRec& rec) {
    return rec.StartAt && *rec.StartAt <= *sound;
  });
}

void TMessageThread::PurgeQueues() {
  const auto lock = Locked();
  if (time_signal_.size() > kMaxTimeSignalSteps) time_signal_.clear();
  const TDateTime now = clock_.Now();
  PurgeRecords(message_list_, now);
  PurgeRecords(wave_list_, now);
}

// ---- steps on the UI thread ----

void TMessageThread::PollState() {
  hand_off_.Run([this] {
    const bool muted = host_.mute_checked ? host_.mute_checked() : false;
    const int8_t speaking = LowByte(host_.speech.Speaking());
    const auto late_limit =
        host_.late_limit ? std::optional(std::chrono::seconds(host_.late_limit())) : std::nullopt;
    const uint64_t passed_over = host_.speech.PassedOverCount();
    const auto lock = Locked();
    mute_ = muted;
    speaking_ = speaking;
    late_limit_ = late_limit;
    passed_over_ = passed_over;
  });
}

void TMessageThread::DuckMusic() {
  if (host_.set_music_override)
    host_.set_music_override(host_.back_volume ? host_.back_volume() : 0);
}

void TMessageThread::RestoreMusic() {
  if (host_.set_music_override) host_.set_music_override(0);
}

void TMessageThread::StopSpeechOnUi() {
  host_.speech.StopSpeech();
  RestoreMusic();
}

void TMessageThread::ApplySpeechVolume() {
  int32_t volume = 0;
  {
    const auto lock = Locked();
    volume = mute_ ? 0 : volume_;
  }
  const auto value = static_cast<uint32_t>(volume * 65535 / 100);
  host_.speech.SetVolumeLeft(value);
  host_.speech.SetVolumeRight(value);
}

}  // namespace chimewell