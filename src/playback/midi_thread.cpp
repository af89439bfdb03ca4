#include "playback/midi_thread.h"

#include <utility>

#include "playback/playback_texts.h"
#include "playback/queue_log.h"

namespace chimewell {

namespace {

constexpr int64_t kCycleMs = 1000;
// With nothing to play, a queued entry wakes the worker; this is only a backstop.
constexpr int64_t kIdleRecheckMs = 3600 * 1000;
constexpr int64_t kPlayCapMs = 3 * 3600 * 1000;
constexpr int64_t kOneDayMs = 24 * 3600 * 1000;
constexpr int32_t kOpenArgA = 10;
constexpr int32_t kOpenArgB = -1;

}  // namespace

TMidiThread::TMidiThread(Clock& clock, UiHandOff hand_off, MidiLibrary& library, Log& log)
    : WorkerThread(clock, std::move(hand_off)), library_(library), log_(log) {}

TMidiThread::~TMidiThread() { Join(); }

bool TMidiThread::SetMidiUntil(const std::string& file_name, int32_t volume, TDateTime end_time) {
  {
    const auto lock = Locked();
    if (!Accepting(lock)) return false;
    list_.push_back({file_name, end_time, 0, ClampVolume(volume)});
    Wake();
  }
  log_.AddLogLine(QueueLineUntil(playback_texts::kMidiPrefix, file_name, nullptr, end_time));
  return true;
}

bool TMidiThread::SetMidiRepeat(const std::string& file_name, int32_t volume, int32_t count) {
  {
    const auto lock = Locked();
    if (!Accepting(lock)) return false;
    list_.push_back({file_name, 0, count, ClampVolume(volume)});
    Wake();
  }
  log_.AddLogLine(QueueLineCount(playback_texts::kMidiPrefix, file_name, nullptr,
                                 playback_texts::kRepeatLabel, count));
  return true;
}

void TMidiThread::StopMidi() { library_.KBGMStop(); }

void TMidiThread::SetMute(bool on) {
  {
    const auto lock = Locked();
    mute_ = on;
  }
  ApplyVolume();
}

void TMidiThread::SetVolumeOverride(int32_t volume) {
  {
    const auto lock = Locked();
    volume_override_ = ClampVolume(volume);
  }
  ApplyVolume();
}

int32_t TMidiThread::EffectiveVolume() const {
  if (mute_) return 0;
  if (volume_override_ > 0) return volume_override_;
  return volume_;
}

void TMidiThread::ApplyVolume() {
  int32_t volume = 0;
  {
    const auto lock = Locked();
    volume = EffectiveVolume();
  }
  // Handle 0 holds no song, so nothing plays and there is nothing to set.
  if (handle_ == 0) return;
  KbgmInfo info;
  library_.KBGMGetInfo(handle_, &info);
  if (info.playing != 0) library_.KBGMSetVolume(handle_, volume);
}

void TMidiThread::LogOnUi(const std::string& text) {
  {
    const auto lock = Locked();
    error_text_ = text;
  }
  hand_off_.Run([this, &text] { log_.AddLogLine(text); });
}

void TMidiThread::Execute() {
  bool opened = false;
  try {
    opened = library_.KBGMOpen(kOpenArgA, kOpenArgB) == 0;
    if (!opened) {
      LogOnUi(std::string(playback_texts::kMidiPortFailed));
    } else {
      for (;;) {
        HoldWhileSuspended();
        {
          // Ending and refusing new entries happen under one lock (see SetMidiRepeat).
          const auto lock = Locked();
          if (Terminated(lock) || list_.size() >= kMaxEntries) {
            MarkEnded(lock);
            break;
          }
        }
        if (RunCycle()) {
          Sleep(kIdleRecheckMs, [this] { return !list_.empty(); });
        } else {
          Sleep(kCycleMs);
        }
      }
    }
  } catch (...) {
    // A closed hand-off at shut-down, or a fault that is told; either way the worker ends.
    ReportFault(std::current_exception());
  }
  {
    const auto lock = Locked();
    MarkEnded(lock);
    list_.clear();
  }
  if (opened) {
    // Freeing our own song stops it if it still plays; after Clear All a newer worker may
    // already play its own, which a stop of everything would cut.
    library_.KBGMFree(handle_);
    library_.KBGMClose();
  }
}

bool TMidiThread::RunCycle() {
  KbgmInfo info;
  library_.KBGMGetInfo(handle_, &info);
  auto lock = Locked();
  if (info.playing != 0 || mute_) {
    const TDateTime now = clock_.Now();
    if (now > end_time_) {
      end_time_ = AddMilliseconds(now, kOneDayMs);
      lock.unlock();
      library_.KBGMStop();
    }
    return info.playing == 0 && list_.empty();
  }
  const TDateTime now = clock_.Now();
  for (size_t i = list_.size(); i-- > 0;) {
    if (list_[i].Count < 1 && list_[i].EndTime < now) {
      list_.erase(list_.begin() + static_cast<ptrdiff_t>(i));
    }
  }
  if (list_.size() > kMaxEntries) {
    list_.clear();
    return false;
  }
  for (size_t i = 0; i < list_.size(); ++i) {
    if (list_[i].Count > 0) {
      lock.unlock();
      StartEntry(i);
      return false;
    }
  }
  for (size_t i = 0; i < list_.size(); ++i) {
    if (list_[i].EndTime > clock_.Now()) {
      lock.unlock();
      StartEntry(i);
      return false;
    }
  }
  return list_.empty();
}

void TMidiThread::StartEntry(size_t index) {
  // Only this thread removes entries, so the index stays valid while others append.
  TSoundRec entry;
  {
    const auto lock = Locked();
    entry = list_[index];
    volume_ = entry.Volume;
    end_time_ = entry.EndTime != 0 ? entry.EndTime : AddMilliseconds(clock_.Now(), kPlayCapMs);
    --list_[index].Count;
  }
  int32_t load_result = 0;
  int32_t play_result = 0;
  int32_t handle = handle_;
  load_result = library_.KBGMLoadFile(&handle, entry.FileName);
  handle_ = handle;
  if (load_result == 0) play_result = library_.KBGMPlay(handle, 0);
  if (load_result != 0) {
    LogOnUi(playback_texts::MidiFileCannotOpen(entry.FileName));
  } else if (play_result != 0) {
    LogOnUi(playback_texts::MidiFileCannotPlay(entry.FileName));
  } else {
    ApplyVolume();
  }
}

}  // namespace chimewell
