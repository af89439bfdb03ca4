// The message worker's speech texts: queueing them, choosing the next, and speaking it.
#include <utility>

#include "playback/message_thread.h"
#include "playback/playback_texts.h"
#include "playback/queue_log.h"
#include "playback/record_queue.h"

namespace chimewell {

namespace {

constexpr int64_t kSpeechDeadlineMs = 3 * 3600 * 1000;

}  // namespace

bool TMessageThread::SetMessageUntil(const std::string& text, int32_t volume, TDateTime end_time,
                                     std::optional<WallMoment> start_at) {
  {
    const auto lock = Locked();
    if (!Accepting(lock)) return false;
    message_list_.push_back({text, end_time, 0, ClampVolume(volume), start_at});
    Wake();
  }
  host_.log.AddLogLine(QueueLineUntil(playback_texts::kMessagePrefix, text, &volume, end_time));
  return true;
}

bool TMessageThread::SetMessageCount(const std::string& text, int32_t volume, int32_t count,
                                     std::optional<WallMoment> start_at, uint64_t ticket) {
  {
    const auto lock = Locked();
    if (!Accepting(lock)) return false;
    message_list_.push_back({text, 0, count, ClampVolume(volume), start_at, ticket});
    Wake();
  }
  host_.log.AddLogLine(QueueLineCount(playback_texts::kMessagePrefix, text, &volume,
                                      playback_texts::kCountLabel, count));
  return true;
}

void TMessageThread::ReportFinished() {
  uint64_t ticket = 0;
  {
    const auto lock = Locked();
    ticket = std::exchange(current_ticket_, 0);
  }
  if (ticket != 0 && host_.message_finished) {
    hand_off_.Run([&] { host_.message_finished(ticket); });
  }
}

void TMessageThread::LogSpeechPassedOver() {
  std::optional<WallMoment> start_at;
  std::string text;
  {
    const auto lock = Locked();
    if (placed_speech_ && passed_over_ != passed_over_at_start_ && start_at_) {
      start_at = start_at_;
      text = text_;
    }
    placed_speech_ = false;
  }
  if (start_at) LogPassedOver(*start_at, text);
}

bool TMessageThread::SpeakNextEntry() {
  bool speak = false;
  bool timed = false;
  std::optional<WallMoment> passed_over;
  std::string passed_over_text;
  {
    const auto lock = Locked();
    const ptrdiff_t index = ChooseEntry(message_list_, clock_, &timed);
    if (index < 0) return false;
    TMessageRec& rec = message_list_[static_cast<size_t>(index)];
    // Only the first play of a scheduled text has a moment; a pending skip drops it too.
    start_at_ = std::exchange(rec.StartAt, std::nullopt);
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
    if (rec.Count <= 0 && rec.Ticket != 0) current_ticket_ = std::exchange(rec.Ticket, 0);
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
      const auto lock = Locked();
      silent = speaking_at_start_ <= 0;
    }
    if (silent) Sleep(kSpeechPollMs, [this] { return skip_; });
  }
  return true;
}

void TMessageThread::SpeakCurrent() {
  DuckMusic();
  ApplySpeechVolume();
  std::string text;
  std::optional<WallMoment> start_at;
  std::optional<WallMoment> latest_start;
  {
    const auto lock = Locked();
    // Pause or Clear All got to the UI thread first: the utterance is dropped like a skipped
    // one rather than spoken while paused.
    if (Stopping(lock)) return;
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
  const auto lock = Locked();
  speaking_at_start_ = speaking;
  placed_speech_ = start_at.has_value();
  passed_over_at_start_ = passed_over;
}

}  // namespace chimewell
