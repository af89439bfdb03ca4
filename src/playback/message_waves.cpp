// The message worker's WAVE files: queueing them and playing the next.
#include "playback/message_thread.h"
#include "playback/playback_texts.h"
#include "playback/queue_log.h"
#include "playback/record_queue.h"

namespace chimewell {

namespace {

constexpr int64_t kAfterWaveMs = 1000;

}  // namespace

bool TMessageThread::SetWaveUntil(const std::string& file_name, TDateTime end_time) {
  {
    const auto lock = Locked();
    if (!Accepting(lock)) return false;
    wave_list_.push_back({file_name, end_time, 0, 0});
    Wake();
  }
  host_.log.AddLogLine(
      QueueLineUntil(playback_texts::kMessagePrefix, file_name, nullptr, end_time));
  return true;
}

bool TMessageThread::SetWaveCount(const std::string& file_name, int32_t count) {
  {
    const auto lock = Locked();
    if (!Accepting(lock)) return false;
    wave_list_.push_back({file_name, 0, count, 0});
    Wake();
  }
  host_.log.AddLogLine(QueueLineCount(playback_texts::kMessagePrefix, file_name, nullptr,
                                      playback_texts::kCountLabel, count));
  return true;
}

bool TMessageThread::PlayNextWave() {
  PollState();
  std::string file;
  {
    const auto lock = Locked();
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

}  // namespace chimewell
