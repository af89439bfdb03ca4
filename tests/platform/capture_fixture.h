#pragma once
// A running mixer that records into a WAV file, for tests that listen to what was played.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "platform/audio_test_support.h"
#include "platform/lead_in.h"
#include "platform/mixer.h"
#include "platform/timeline_sink.h"

namespace chimewell::testing {

class CaptureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = TempPath(std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                     ".wav");
    auto sink = MakeWavFileSink(path_);
    ASSERT_TRUE(sink);
    auto timeline = std::make_unique<TimelineSink>(std::move(sink));
    timeline_ = timeline.get();
    mixer_ = std::make_unique<Mixer>(std::move(timeline));
    mixer_->Start();
  }
  void TearDown() override {
    if (mixer_) mixer_->Stop();
    std::remove(path_.c_str());
  }
  // Stops the mixer and returns everything it wrote.
  PcmClip Captured() {
    mixer_->Stop();
    auto clip = LoadWaveFile(path_);
    EXPECT_TRUE(clip);
    return clip ? *clip : PcmClip{};
  }

  // How far from `moment_ms` (wall clock) the first sample of `clip` at or above -50 dBFS was
  // heard, in milliseconds.
  double FirstAudibleFrom(const PcmClip& clip, int64_t moment_ms) const {
    for (size_t i = 0; i < clip.samples.size(); ++i) {
      if (std::abs(static_cast<int>(clip.samples[i])) >= kAudibleSample) {
        return static_cast<double>(timeline_->HeardAt(i / 2) - moment_ms * 1000) / 1000.0;
      }
    }
    return 1e9;
  }

  std::string path_;
  TimelineSink* timeline_ = nullptr;  // owned by the mixer
  std::unique_ptr<Mixer> mixer_;
};

}  // namespace chimewell::testing
