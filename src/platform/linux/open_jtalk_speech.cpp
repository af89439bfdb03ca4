#include "platform/linux/open_jtalk_speech.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/wave_file.h"

namespace chimewell {
namespace {

constexpr char kSynthesisFailed[] = "音声合成に失敗しました";
constexpr char kNoWorkFolder[] = "音声合成の作業フォルダを作れません。音声は話せません";

float Gain(uint32_t volume) {
  return static_cast<float>(std::min<uint32_t>(volume, 65535)) / 65535.0f;
}

std::string MakeWorkDir() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/chimewell-speech-XXXXXX";
  if (!::mkdtemp(pattern.data())) return "";
  return pattern;
}

bool WriteText(const std::string& path, const std::string& text) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok =
      std::fwrite(text.data(), 1, text.size(), f) == text.size() && std::fputc('\n', f) != EOF;
  return std::fclose(f) == 0 && ok;
}

}  // namespace

OpenJTalkSpeech::OpenJTalkSpeech(Mixer& mixer, Report report, OpenJTalkSetup setup)
    : mixer_(mixer), report_(std::move(report)) {
  setup_ = FindOpenJTalk(std::move(setup), &missing_);
  if (missing_.empty()) {
    work_dir_ = MakeWorkDir();
    if (work_dir_.empty()) missing_ = kNoWorkFolder;
  }
  if (missing_.empty()) thread_ = std::thread([this] { Run(); });
}

OpenJTalkSpeech::~OpenJTalkSpeech() {
  {
    const std::lock_guard lock(mutex_);
    quit_ = true;
    ++generation_;
    StopCurrentLocked();
  }
  cv_.notify_all();
  if (thread_.joinable()) thread_.join();
  if (!work_dir_.empty()) {
    std::error_code ec;
    std::filesystem::remove_all(work_dir_, ec);
  }
}

void OpenJTalkSpeech::SpeakText(const std::string& text) {
  if (!Available()) {
    ReportOnce(missing_);
    return;
  }
  {
    const std::lock_guard lock(mutex_);
    ++generation_;
    StopCurrentLocked();
    pending_ = text;
    speaking_ = 1;  // from this moment on, synthesis included
  }
  cv_.notify_all();
}

void OpenJTalkSpeech::StopSpeech() {
  const std::lock_guard lock(mutex_);
  ++generation_;
  pending_.reset();
  StopCurrentLocked();
  speaking_ = 0;
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
  synthesis_.Kill();
  if (voice_) voice_->Stop();
}

void OpenJTalkSpeech::ReportOnce(const std::string& message) {
  if (!reported_.exchange(true) && report_) report_(message);
}

void OpenJTalkSpeech::Run() {
  std::unique_lock lock(mutex_);
  while (true) {
    cv_.wait(lock, [this] { return quit_ || pending_.has_value(); });
    if (quit_) return;
    const std::string text = std::move(*pending_);
    pending_.reset();
    const uint64_t generation = generation_;
    lock.unlock();
    Speak(text, generation);
    lock.lock();
    voice_.reset();
    // A newer request keeps "speaking" up; only the last one lets it fall.
    if (generation == generation_ && !pending_) speaking_ = 0;
  }
}

void OpenJTalkSpeech::Speak(const std::string& text, uint64_t generation) {
  bool started = false;
  for (const std::string& piece : SplitForOpenJTalk(text)) {
    const auto clip = Synthesize(piece, generation);
    std::shared_ptr<MixerVoice> voice;
    {
      const std::lock_guard lock(mutex_);
      if (generation != generation_) break;
      if (!clip) continue;
      voice_ = mixer_.Play(MixChannel::kSpeech, clip, Gain(volume_left_), Gain(volume_right_));
      voice = voice_;
    }
    if (!started && voice->WaitStarted()) {
      started = true;
      NotifyAudioStart();
    }
    voice->Wait();
  }
  if (started) NotifyAudioStop();
}

std::shared_ptr<const PcmClip> OpenJTalkSpeech::Synthesize(const std::string& piece,
                                                           uint64_t generation) {
  const std::string input = work_dir_ + "/text.txt";
  const std::string output = work_dir_ + "/speech.wav";
  std::remove(output.c_str());
  if (!WriteText(input, piece)) {
    ReportOnce(kSynthesisFailed);
    return nullptr;
  }
  {
    // Started under the lock, so a StopSpeech from now on reaches this process.
    const std::lock_guard lock(mutex_);
    if (generation != generation_) return nullptr;
    if (!synthesis_.Start(
            {setup_.command, "-x", setup_.dictionary, "-m", setup_.voice, "-ow", output, input})) {
      ReportOnce(kSynthesisFailed);
      return nullptr;
    }
  }
  const bool ok = synthesis_.Wait();
  {
    const std::lock_guard lock(mutex_);
    if (generation != generation_) return nullptr;  // stopped or replaced meanwhile
  }
  auto clip = ok ? LoadWaveFile(output) : std::nullopt;
  if (!clip) {
    ReportOnce(kSynthesisFailed);
    return nullptr;
  }
  return std::make_shared<const PcmClip>(std::move(*clip));
}

}  // namespace chimewell
