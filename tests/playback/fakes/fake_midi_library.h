#pragma once
// A MIDI library for tests: songs last a set time of the fake clock; every call that matters
// is recorded with its virtual time.
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/midi_library.h"
#include "support/fake_clock.h"

namespace chimewell::testing {

struct MidiEvent {
  std::string what;  // "open", "load:<path>", "play:<path>", "volume", "stop", "free", "close"
  int64_t at_ms = 0;
  int32_t value = 0;  // the volume for "volume"
};

class FakeMidiLibrary final : public MidiLibrary {
 public:
  explicit FakeMidiLibrary(FakeClock& clock) : clock_(clock) {}

  void SetSong(const std::string& path, int64_t ms) {
    const std::lock_guard lock(mutex_);
    songs_[path] = ms;
  }
  void FailOpen() {
    const std::lock_guard lock(mutex_);
    open_result_ = 1;
  }
  void FailPlay(const std::string& path) {
    const std::lock_guard lock(mutex_);
    unplayable_.insert(path);
  }

  int32_t KBGMOpen(int32_t, int32_t) override {
    const std::lock_guard lock(mutex_);
    events_.push_back({"open", clock_.NowMs(), 0});
    return open_result_;
  }
  // Loads wait, as on a slow disk, until ReleaseLoads.
  void HoldLoads() {
    const std::lock_guard lock(mutex_);
    hold_loads_ = true;
  }
  void ReleaseLoads() {
    const std::lock_guard lock(mutex_);
    hold_loads_ = false;
    load_cv_.notify_all();
  }
  // Returns once a load is waiting.
  void WaitUntilLoading() {
    std::unique_lock lock(mutex_);
    load_cv_.wait(lock, [this] { return loads_waiting_ > 0; });
  }

  int32_t KBGMLoadFile(int32_t* handle, const std::string& path) override {
    std::unique_lock lock(mutex_);
    ++loads_waiting_;
    load_cv_.notify_all();
    load_cv_.wait(lock, [this] { return !hold_loads_; });  // the lock is let go meanwhile
    --loads_waiting_;
    events_.push_back({"load:" + path, clock_.NowMs(), 0});
    if (songs_.count(path) == 0) return 2;
    *handle = next_handle_++;
    loaded_ = path;
    loaded_handle_ = *handle;
    return 0;
  }
  int32_t KBGMPlay(int32_t, int32_t) override {
    const std::lock_guard lock(mutex_);
    if (unplayable_.count(loaded_) != 0) return 3;
    events_.push_back({"play:" + loaded_, clock_.NowMs(), 0});
    play_end_ms_ = clock_.NowMs() + songs_[loaded_];
    return 0;
  }
  int32_t KBGMGetInfo(int32_t handle, KbgmInfo* info) override {
    const std::lock_guard lock(mutex_);
    info->playing = handle != 0 && clock_.NowMs() < play_end_ms_ ? 1 : 0;
    return 0;
  }
  int32_t KBGMSetVolume(int32_t, int32_t volume) override {
    const std::lock_guard lock(mutex_);
    volume_ = volume;
    events_.push_back({"volume", clock_.NowMs(), volume});
    return 0;
  }
  int32_t KBGMStop() override {
    const std::lock_guard lock(mutex_);
    play_end_ms_ = 0;
    events_.push_back({"stop", clock_.NowMs(), 0});
    return 0;
  }
  // Freeing the song that plays stops it; a handle replaced since leaves the music alone.
  int32_t KBGMFree(int32_t handle) override {
    {
      const std::lock_guard lock(mutex_);
      if (handle != 0 && handle == loaded_handle_) play_end_ms_ = 0;
    }
    return Record("free", 0);
  }
  int32_t KBGMClose() override { return Record("close", 0); }

  std::vector<MidiEvent> Events() const {
    const std::lock_guard lock(mutex_);
    return events_;
  }
  // Only the events named `what` (for "play:" and "load:", a prefix match).
  std::vector<MidiEvent> Events(const std::string& what) const {
    std::vector<MidiEvent> picked;
    for (const auto& event : Events()) {
      if (event.what.rfind(what, 0) == 0) picked.push_back(event);
    }
    return picked;
  }
  bool Playing() const {
    const std::lock_guard lock(mutex_);
    return clock_.NowMs() < play_end_ms_;
  }
  int32_t Volume() const {
    const std::lock_guard lock(mutex_);
    return volume_;
  }

 private:
  int32_t Record(const std::string& what, int32_t result) {
    const std::lock_guard lock(mutex_);
    events_.push_back({what, clock_.NowMs(), 0});
    return result;
  }

  FakeClock& clock_;
  mutable std::mutex mutex_;
  std::condition_variable load_cv_;
  bool hold_loads_ = false;
  int loads_waiting_ = 0;
  std::map<std::string, int64_t> songs_;
  std::set<std::string> unplayable_;
  std::vector<MidiEvent> events_;
  std::string loaded_;
  int32_t next_handle_ = 1;
  int32_t loaded_handle_ = 0;
  int64_t play_end_ms_ = 0;
  int32_t volume_ = -1;
  int32_t open_result_ = 0;
};

}  // namespace chimewell::testing
