#include "playback/message_thread.h"

#include <utility>

#include "core/local_time.h"
#include "playback/playback_texts.h"
#include "playback/queue_log.h"

namespace chimewell {

namespace {

constexpr int64_t kSpeechDeadlineMs = 3 * 3600 * 1000;
constexpr int64_t kSpeechPollMs = 1000;
constexpr int64_t kMutedPollMs = 2000;
constexpr int64_t kPauseMarkerMs = 1000;
constexpr int64_t kAfterWaveMs = 1000;
// A cycle that found nothing to do (an entry ending exactly now) waits this long rather than
// spinning until the clock moves on.
constexpr int64_t kIdleCycleMs = 1;

int8_t LowByte(int16_t value) {
  return static_cast<int8_t>(static_cast<uint8_t>(static_cast<uint16_t>(value) & 0xFF));
}

// Drops the whole list when it overflows, else the entries that are used up and past their
// end time, walking from the back.
template <typename Rec>
void PurgeRecords(std::vector<Rec>& list, TDateTime now) {
  if (list.size() > TMessageThread::kMaxRecords) {
    list.clear();
    return;
  }
  for (size_t i = list.size(); i-- > 0;) {
    if (list[i].Count <= 0 && list[i].EndTime < now)
      list.erase(list.begin() + static_cast<ptrdiff_t>(i));
  }
}

// The first entry with plays left; else the first whose end time lies ahead (the clock is read
// anew for each entry). Returns the index, or -1.
template <typename Rec>
ptrdiff_t ChooseEntry(const std::vector<Rec>& list, const Clock& clock, bool* timed) {
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i].Count > 0) {
      *timed = false;
      return static_cast<ptrdiff_t>(i);
    }
  }
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i].EndTime > clock.Now()) {
      *timed = true;
      return static_cast<ptrdiff_t>(i);
    }
  }
  return -1;
}

}  // namespace

TMessageThread::TMessageThread(Clock& clock, UiHandOff hand_off, MessageThreadHost host)
    : WorkerThread(clock, std::move(hand_off)), host_(std::move(host)) {}

TMessageThread::~TMessageThread() { Join(); }

bool TMessageThread::Accepting() const { return !ended_ && !terminated_; }

bool TMessageThread::TooLateLocked(std::optional<int64_t> start_at) const {
  return start_at && clock_.UnixMs() - *start_at > late_limit_ms_;
}

std::optional<int64_t> TMessageThread::LatestStartLocked(int64_t start_at) const {
  if (late_limit_ms_ == INT64_MAX) return std::nullopt;
  return start_at + late_limit_ms_;
}

void TMessageThread::LogSpeechPassedOver() {
  std::optional<int64_t> start_at;
  std::string text;
  {
    const std::lock_guard lock(mutex_);
    if (placed_speech_ && passed_over_ != passed_over_at_start_ && start_at_) {
      start_at = start_at_;
      text = text_;
    }
    placed_speech_ = false;
  }
  if (start_at) LogPassedOver(*start_at, text);
}

void TMessageThread::LogPassedOver(int64_t start_at, const std::string& text) {
  const std::string at = FormatDateTime("hh:nn.ss", LocalOf(start_at));
  host_.log.AddLogLine(text.empty() ? playback_texts::PassedOverTimeSignal(at)
                                    : playback_texts::PassedOverSpeech(at, text));
}

bool TMessageThread::HasWork() const {
  return !time_signal_.empty() || !wave_list_.empty() || !message_list_.empty();
}

// ---- queue operations ----

bool TMessageThread::SetWaveUntil(const std::string& file_name, TDateTime end_time) {
  {
    const std::lock_guard lock(mutex_);
    if (!Accepting()) return false;
    wave_list_.push_back({file_name, end_time, 0, 0});
    cv_.notify_all();
  }
  host_.log.AddLogLine(
      QueueLineUntil(playback_texts::kMessagePrefix, file_name, nullptr, end_time));
  return true;
}

bool TMessageThread::SetWaveCount(const std::string& file_name, int32_t count) {
  {
    const std::lock_guard lock(mutex_);
    if (!Accepting()) return false;
    wave_list_.push_back({file_name, 0, count, 0});
    cv_.notify_all();
  }
  host_.log.AddLogLine(QueueLineCount(playback_texts::kMessagePrefix, file_name, nullptr,
                                      playback_texts::kCountLabel, count));
  return true;
}

bool TMessageThread::SetMessageUntil(const std::string& text, int32_t volume, TDateTime end_time,
                                     std::optional<int64_t> start_at_ms) {
  {
    const std::lock_guard lock(mutex_);
    if (!Accepting()) return false;
    message_list_.push_back({text, end_time, 0, ClampVolume(volume), start_at_ms});
    cv_.notify_all();
  }
  host_.log.AddLogLine(QueueLineUntil(playback_texts::kMessagePrefix, text, &volume, end_time));
  return true;
}

bool TMessageThread::SetMessageCount(const std::string& text, int32_t volume, int32_t count,
                                     std::optional<int64_t> start_at_ms) {
  {
    const std::lock_guard lock(mutex_);
    if (!Accepting()) return false;
    message_list_.push_back({text, 0, count, ClampVolume(volume), start_at_ms});
    cv_.notify_all();
  }
  host_.log.AddLogLine(QueueLineCount(playback_texts::kMessagePrefix, text, &volume,
                                      playback_texts::kCountLabel, count));
  return true;
}

bool TMessageThread::SetTimeSignal(const VoiceImagePtr& image,
                                   const std::vector<int32_t>& fragments, int32_t repeat,
                                   std::optional<int64_t> start_at_ms) {
  {
    const std::lock_guard lock(mutex_);
    if (!Accepting()) return false;
    if (!time_signal_.empty()) return true;  // never replaced or extended
  }
  host_.sound.Purge();
  auto steps = BuildTimeSignalSequence(image, fragments, repeat);
  const std::lock_guard lock(mutex_);
  if (!Accepting()) return false;
  if (time_signal_.empty()) {
    time_signal_ = std::move(steps);
    time_signal_start_at_ = start_at_ms;
  }
  cv_.notify_all();
  return true;
}

bool TMessageThread::IsTimeSignalQueued() const {
  const std::lock_guard lock(mutex_);
  return !time_signal_.empty();
}

// ---- UI-thread operations ----

void TMessageThread::SkipCurrent() {
  {
    const std::lock_guard lock(mutex_);
    skip_ = true;
    cv_.notify_all();
  }
  host_.sound.Purge();
  StopSpeech();
}

void TMessageThread::StopSpeech() { StopSpeechOnUi(); }

void TMessageThread::SetMute(bool on) {
  {
    const std::lock_guard lock(mutex_);
    mute_ = on;
    cv_.notify_all();
  }
  if (on) host_.sound.Purge();
  ApplySpeechVolume();
}

void TMessageThread::MarkSuperseded() {
  const std::lock_guard lock(mutex_);
  superseded_ = true;
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
        const std::lock_guard lock(mutex_);
        if (terminated_ || !HasWork()) {
          ended_ = true;
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
    const std::lock_guard lock(mutex_);
    ended_ = true;
    superseded = superseded_;
  }
  if (!superseded) {
    try {
      hand_off_.Run([this] { StopSpeechOnUi(); });
    } catch (...) {
    }
  }
  const std::lock_guard lock(mutex_);
  time_signal_.clear();
  wave_list_.clear();
  message_list_.clear();
}

TMessageThread::Outcome TMessageThread::RunCycle() {
  PollState();
  bool muted = false;
  bool still_speaking = false;
  {
    const std::lock_guard lock(mutex_);
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
  PurgeQueues();
  hand_off_.Run([this] { StopSpeechOnUi(); });

  bool has_time_signal = false;
  {
    const std::lock_guard lock(mutex_);
    has_time_signal = !time_signal_.empty();
  }
  if (has_time_signal) {
    PlayTimeSignal();
    return Outcome::kWorked;
  }
  if (SpeakNextEntry()) return Outcome::kWorked;
  const bool played = PlayNextWave();
  const std::lock_guard lock(mutex_);
  skip_ = false;
  return played ? Outcome::kWorked : Outcome::kIdle;
}

void TMessageThread::PurgeQueues() {
  const std::lock_guard lock(mutex_);
  if (time_signal_.size() > kMaxTimeSignalSteps) time_signal_.clear();
  const TDateTime now = clock_.Now();
  PurgeRecords(message_list_, now);
  PurgeRecords(wave_list_, now);
}

void TMessageThread::PlayTimeSignal() {
  std::optional<int64_t> passed_over;
  {
    // Held up past LateLimit (a suspend after its hand-over, or a long item before it): it
    // would name a time long gone.
    const std::lock_guard lock(mutex_);
    if (TooLateLocked(time_signal_start_at_)) {
      passed_over = time_signal_start_at_;
      time_signal_.clear();
      time_signal_start_at_.reset();
      skip_ = false;
    }
  }
  if (passed_over) {
    LogPassedOver(*passed_over, "");
    return;
  }
  hand_off_.Run([this] { DuckMusic(); });
  for (size_t i = 0;; ++i) {
    HoldWhileSuspended();
    TimeSignalStep step;
    std::optional<int64_t> start_at;
    {
      const std::lock_guard lock(mutex_);
      if (terminated_ || i >= time_signal_.size()) break;
      // The step holds its own share of the voice image while it plays.
      step = time_signal_[i];
      start_at = std::exchange(time_signal_start_at_, std::nullopt);
    }
    PollState();
    bool muted = false;
    {
      const std::lock_guard lock(mutex_);
      if (skip_) {
        skip_ = false;
        break;  // the rest of the sequence is dropped
      }
      muted = mute_;
    }
    if (step.kind == TimeSignalStep::Kind::kPause) {
      Sleep(kPauseMarkerMs, [this] { return skip_; });
    } else if (muted) {
      Sleep(kMutedPollMs, [this] { return skip_; });
    } else if (step.kind == TimeSignalStep::Kind::kFragment && start_at) {
      std::optional<int64_t> latest_start;
      {
        const std::lock_guard lock(mutex_);
        latest_start = LatestStartLocked(*start_at);
      }
      if (!host_.sound.PlayMemoryAt(step.image->FileAt(step.offset), *start_at, latest_start)) {
        // The machine slept between its hand-over and its moment: the rest goes with it.
        LogPassedOver(*start_at, "");
        break;
      }
    } else if (step.kind == TimeSignalStep::Kind::kFragment) {
      host_.sound.PlayMemory(step.image->FileAt(step.offset));
    } else {
      host_.sound.PlayBuiltIn();
    }
  }
  {
    const std::lock_guard lock(mutex_);
    time_signal_.clear();
    time_signal_start_at_.reset();
    skip_ = false;
  }
  hand_off_.Run([this] { RestoreMusic(); });
}

bool TMessageThread::SpeakNextEntry() {
  bool speak = false;
  bool timed = false;
  std::optional<int64_t> passed_over;
  std::string passed_over_text;
  {
    const std::lock_guard lock(mutex_);
    const ptrdiff_t index = ChooseEntry(message_list_, clock_, &timed);
    if (index < 0) return false;
    TMessageRec& rec = message_list_[static_cast<size_t>(index)];
    // Only the first play of a scheduled text has a moment; a pending skip drops it too.
    start_at_ = std::exchange(rec.StartAtMs, std::nullopt);
    if (!skip_ && TooLateLocked(start_at_)) {
      // Held up past LateLimit: this play is dropped as the tick drops what it finds too late.
      passed_over = std::exchange(start_at_, std::nullopt);
      passed_over_text = rec.Text;
    } else if (!skip_) {
      text_ = rec.Text;
      volume_ = rec.Volume;
      deadline_ = timed ? rec.EndTime : AddMilliseconds(clock_.Now(), kSpeechDeadlineMs);
      speak = true;
    }
    --rec.Count;  // a pending skip consumes this play unspoken
    skip_ = false;
  }
  if (passed_over) LogPassedOver(*passed_over, passed_over_text);
  if (!speak) return true;
  hand_off_.Run([this] { SpeakCurrent(); });
  if (timed) {
    // A speech control that does not report speaking (no engine) would otherwise have a timed
    // entry repeated back to back without pause until its end time.
    bool silent = false;
    {
      const std::lock_guard lock(mutex_);
      silent = speaking_at_start_ <= 0;
    }
    if (silent) Sleep(kSpeechPollMs, [this] { return skip_; });
  }
  return true;
}

bool TMessageThread::PlayNextWave() {
  PollState();
  std::string file;
  {
    const std::lock_guard lock(mutex_);
    bool timed = false;
    const ptrdiff_t index = ChooseEntry(wave_list_, clock_, &timed);
    if (index < 0) return false;
    TSoundRec& rec = wave_list_[static_cast<size_t>(index)];
    file = rec.FileName;
    --rec.Count;
  }
  host_.sound.PlayFile(file);
  Sleep(kAfterWaveMs);
  return true;
}

// ---- steps on the UI thread ----

void TMessageThread::PollState() {
  hand_off_.Run([this] {
    const bool muted = host_.mute_checked ? host_.mute_checked() : false;
    const int8_t speaking = LowByte(host_.speech.Speaking());
    const int64_t late_limit_ms = host_.late_limit ? host_.late_limit() * 1000LL : INT64_MAX;
    const uint64_t passed_over = host_.speech.PassedOverCount();
    const std::lock_guard lock(mutex_);
    mute_ = muted;
    speaking_ = speaking;
    late_limit_ms_ = late_limit_ms;
    passed_over_ = passed_over;
  });
}

void TMessageThread::SpeakCurrent() {
  DuckMusic();
  ApplySpeechVolume();
  std::string text;
  std::optional<int64_t> start_at;
  std::optional<int64_t> latest_start;
  {
    const std::lock_guard lock(mutex_);
    // Pause or Clear All got to the UI thread first: the utterance is dropped like a skipped
    // one rather than spoken while paused.
    if (Stopping()) return;
    text = text_;
    start_at = start_at_;
    if (start_at) latest_start = LatestStartLocked(*start_at);
  }
  const uint64_t passed_over = host_.speech.PassedOverCount();
  if (start_at) {
    host_.speech.SpeakTextAt(text, *start_at, latest_start);
  } else {
    host_.speech.SpeakText(text);
  }
  const int8_t speaking = LowByte(host_.speech.Speaking());
  const std::lock_guard lock(mutex_);
  speaking_at_start_ = speaking;
  placed_speech_ = start_at.has_value();
  passed_over_at_start_ = passed_over;
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
    const std::lock_guard lock(mutex_);
    volume = mute_ ? 0 : volume_;
  }
  const auto value = static_cast<uint32_t>(volume * 65535 / 100);
  host_.speech.SetVolumeLeft(value);
  host_.speech.SetVolumeRight(value);
}

}  // namespace chimewell
