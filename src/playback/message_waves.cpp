// The message worker's WAVE files: queueing them and playing the next.
#include <utility>

#include "playback/message_thread.h"
#include "playback/playback_texts.h"
#include "playback/queue_log.h"
#include "playback/record_queue.h"

namespace chimewell {

namespace {

constexpr int64_t kAfterWaveMs = 1000;

}  // namespace

bool TMessageThread::SetWaveUntil(const std::string& file_name, TDateTime end_time,
                                  std::optional<WallMoment> mark_at) {
  {
    const auto lock = Locked();
    if (!Accepting(lock)) return false;
    wave_list_.push_back({file_name, end_time, 0, 0, mark_at});
    Wake();
  }
  host_.log.AddLogLine(
      QueueLineUntil(playback_texts::kMessagePrefix, file_name, nullptr, end_time));
  return true;
}

bool TMessageThread::SetWaveCount(const std::string& file_name, int32_t count,
                                  std::optional<WallMoment> mark_at) {
  {
    const auto lock = Locked();
    if (!Accepting(lock)) return false;
    wave_list_.push_back({file_name, 0, count, 0, mark_at});
    Wake();
  }
  host_.log.AddLogLine(QueueLineCount(playback_texts::kMessagePrefix, file_name, nullptr,
                                      playback_texts::kCountLabel, count));
  return true;
}

bool TMessageThread::PlayNextWave() {
  PollState();
  std::string file;
  std::optional<WallMoment> mark_at;
  std::optional<WallMoment> latest_start;
  bool too_late = false;
  {
    const auto lock = Locked();
    bool timed = false;
    const ptrdiff_t index = ChooseEntry(wave_list_, clock_, &timed);
    if (index < 0) return false;
    TSoundRec& rec = wave_list_[static_cast<size_t>(index)];
    file = rec.FileName;
    // Only the first play of a scheduled file has a moment; the later ones follow as ever.
    mark_at = std::exchange(rec.StartAt, std::nullopt);
    too_late = TooLateLocked(mark_at);
    if (mark_at) latest_start = LatestStartLocked(*mark_at);
    --rec.Count;
  }
  if (too_late) {
    // Held up past LateLimit: dropped as the tick drops what it finds too late.
    LogPassedOver(*mark_at, file);
    return true;
  }
  if (!mark_at) {
    host_.sound.PlayFile(file);
  } else if (!host_.sound.PlayFileAt(file, *mark_at, latest_start)) {
    LogPassedOver(*mark_at, file);
    return true;
  }
  Sleep(kAfterWaveMs);
  return true;
}

}  // namespace chimewell
