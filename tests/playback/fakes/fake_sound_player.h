#pragma once
// A sound player for tests: each play lasts a set time of the fake clock, a purge cuts it,
// and every call is recorded with its virtual start and end.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/sound_player.h"
#include "support/fake_clock.h"

namespace chimewell::testing {

struct SoundCall {
  std::string what;  // "purge", "builtin", "file:<path>", "memory:<label>"
  int64_t start_ms = 0;
  int64_t end_ms = 0;
  bool cut = false;  // ended by a purge
  std::optional<int64_t> placed_at_ms;  // PlayMemoryAt's moment
};

class FakeSoundPlayer final : public SoundPlayer {
 public:
  explicit FakeSoundPlayer(FakeClock& clock) : clock_(clock) {}

  // A memory image is labelled by its bytes after the 8-byte RIFF header.
  static std::vector<uint8_t> MakeImage(const std::string& label) {
    std::vector<uint8_t> image = {'R', 'I', 'F', 'F'};
    const auto size = static_cast<uint32_t>(label.size());
    for (int i = 0; i < 4; ++i) image.push_back(static_cast<uint8_t>(size >> (8 * i)));
    image.insert(image.end(), label.begin(), label.end());
    return image;
  }

  void SetDuration(const std::string& what, int64_t ms) {
    const std::lock_guard lock(mutex_);
    durations_[what] = ms;
  }

  void Purge() override {
    const std::lock_guard lock(mutex_);
    ++purges_;
    calls_.push_back({"purge", clock_.NowMs(), clock_.NowMs(), false, std::nullopt});
    cv_.notify_all();
  }
  void PlayMemory(std::span<const uint8_t> image) override {
    std::string label = image.size() >= 8 ? std::string(image.begin() + 8, image.end()) : "";
    Play("memory:" + label);
  }
  bool PlayMemoryAt(std::span<const uint8_t> image, WallMoment start_at,
                    std::optional<WallMoment> latest_start) override {
    const WallMoment first_sound =
        std::max(clock_.WallNow(), start_at) + std::chrono::milliseconds(sleep_before_start_ms_);
    if (latest_start && first_sound > *latest_start) {
      return false;
    }
    std::string label = image.size() >= 8 ? std::string(image.begin() + 8, image.end()) : "";
    Play("memory:" + label, start_at.UnixMs());
    return true;
  }
  // The machine sleeps this long between a placed sound's hand-over and its first sample.
  void SleepBeforeStart(int64_t ms) { sleep_before_start_ms_ = ms; }
  void PlayBuiltIn() override { Play("builtin"); }
  void PlayFile(const std::string& path) override { Play("file:" + path); }

  std::vector<SoundCall> Calls() const {
    const std::lock_guard lock(mutex_);
    return calls_;
  }
  // The plays only (purges left out).
  std::vector<SoundCall> Plays() const {
    std::vector<SoundCall> plays;
    for (const auto& call : Calls()) {
      if (call.what != "purge") plays.push_back(call);
    }
    return plays;
  }

 private:
  void Play(const std::string& what, std::optional<int64_t> placed_at_ms = std::nullopt) {
    std::unique_lock lock(mutex_);
    const auto found = durations_.find(what);
    const int64_t ms = found != durations_.end() ? found->second : (what == "builtin" ? 162 : 500);
    const size_t index = calls_.size();
    calls_.push_back({what, clock_.NowMs(), 0, false, placed_at_ms});
    const uint64_t purges_at_start = purges_;
    const bool cut = clock_.WaitFor(lock, cv_, ms, [&] { return purges_ != purges_at_start; });
    calls_[index].end_ms = clock_.NowMs();
    calls_[index].cut = cut;
  }

  FakeClock& clock_;
  mutable std::mutex mutex_;
  std::condition_variable cv_;
  std::map<std::string, int64_t> durations_;
  std::vector<SoundCall> calls_;
  uint64_t purges_ = 0;
  std::atomic<int64_t> sleep_before_start_ms_{0};
};

}  // namespace chimewell::testing
