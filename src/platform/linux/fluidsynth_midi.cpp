#include "platform/linux/fluidsynth_midi.h"

#include <fluidsynth.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <utility>

#include "core/bounded_file.h"
#include "platform/linux/fluidsynth_song.h"

namespace chimewell {
namespace {

constexpr char kSoundFontFolder[] = "/usr/share/sounds/sf2";
// Synthesizer gain: one piano note at volume 100 peaks at about a sixth of full scale, so a
// fuller arrangement comes near the voice at full volume and still leaves headroom.
constexpr double kSynthGain = 1.2;
// The music counts as died away below -80 dB, and after 3 s in any case.
constexpr float kSilence = 1e-4f;
constexpr size_t kLongestTail = 3 * kMixRate;

std::string FindSoundFont() {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path folder = kSoundFontFolder;
  for (const char* name : {"default-GM.sf2", "TimGM6mb.sf2", "FluidR3_GM.sf2"}) {
    if (fs::is_regular_file(folder / name, ec)) return folder / name;
  }
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const auto ext = it->path().extension();
    if ((ext == ".sf2" || ext == ".sf3") && it->is_regular_file(ec)) return it->path();
  }
  return "";
}

uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

void QuietFluidSynth() {
  // Our own messages say what went wrong; the library's would only repeat it on stderr.
  for (int level : {FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
    fluid_set_log_function(level, nullptr, nullptr);
  }
}

}  // namespace

std::vector<uint8_t> ExtractMidiData(const std::vector<uint8_t>& bytes) {
  const auto is_smf = [](const uint8_t* p, size_t n) {
    return n >= 14 && std::memcmp(p, "MThd", 4) == 0;
  };
  if (is_smf(bytes.data(), bytes.size())) return bytes;
  if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
      std::memcmp(bytes.data() + 8, "RMID", 4) != 0) {
    return {};
  }
  size_t pos = 12;
  while (bytes.size() - pos >= 8) {
    const uint32_t size = U32(bytes.data() + pos + 4);
    const size_t body = pos + 8;
    if (std::memcmp(bytes.data() + pos, "data", 4) == 0) {
      if (size > bytes.size() - body || !is_smf(bytes.data() + body, size)) return {};
      return {bytes.begin() + static_cast<std::ptrdiff_t>(body),
              bytes.begin() + static_cast<std::ptrdiff_t>(body + size)};
    }
    const size_t advance = 8 + static_cast<size_t>(size) + (size & 1u);
    if (advance > bytes.size() - pos) break;
    pos += advance;
  }
  return {};
}

// The synthesizer with its settings and loaded SoundFont.
class FluidSynthMidi::Synth {
 public:
  // Reads the SoundFont: slow, and done by the caller without any lock held.
  static std::unique_ptr<Synth> Load(const std::string& soundfont) {
    auto synth = std::unique_ptr<Synth>(new Synth);
    if (!synth->synth_ || fluid_synth_sfload(synth->synth_, soundfont.c_str(), 1) == FLUID_FAILED) {
      return nullptr;
    }
    return synth;
  }
  ~Synth() {
    if (synth_) delete_fluid_synth(synth_);
    delete_fluid_settings(settings_);
  }
  Synth(const Synth&) = delete;
  Synth& operator=(const Synth&) = delete;
  fluid_synth_t* get() const { return synth_; }

 private:
  Synth() {
    QuietFluidSynth();
    settings_ = new_fluid_settings();
    fluid_settings_setnum(settings_, "synth.sample-rate", kMixRate);
    fluid_settings_setnum(settings_, "synth.gain", kSynthGain);
    // The player advances with the samples we render, so the song keeps the mixer's time.
    fluid_settings_setstr(settings_, "player.timing-source", "sample");
    synth_ = new_fluid_synth(settings_);
  }
  fluid_settings_t* settings_ = nullptr;
  fluid_synth_t* synth_ = nullptr;
};

FluidSynthMidi::FluidSynthMidi(Mixer& mixer, std::string soundfont)
    : mixer_(mixer), soundfont_(soundfont.empty() ? FindSoundFont() : std::move(soundfont)) {}

FluidSynthMidi::~FluidSynthMidi() {
  mixer_.SetRenderer(MixChannel::kMusic, nullptr);
  const std::lock_guard lock(mutex_);
  StopLocked();
  synth_.reset();
}

int FluidSynthMidi::Owners() const {
  const std::lock_guard lock(mutex_);
  return owners_;
}

int32_t FluidSynthMidi::KBGMOpen(int32_t, int32_t) {
  {
    const std::lock_guard lock(mutex_);
    if (synth_) {
      ++owners_;
      return 0;
    }
  }
  if (soundfont_.empty()) return 1;
  auto loaded = Synth::Load(soundfont_);
  if (!loaded) return 1;
  const std::lock_guard lock(mutex_);
  ++owners_;
  // Two first owners may load at once; the later one's copy is let go.
  if (!synth_) synth_ = std::move(loaded);
  return 0;
}

int32_t FluidSynthMidi::KBGMLoadFile(int32_t* handle, const std::string& path) {
  const std::optional<std::string> bytes = ReadRegularFile(path, FileKind::kSound);
  if (!bytes || !handle) return 1;
  auto data = std::make_shared<const std::vector<uint8_t>>(
      ExtractMidiData({bytes->begin(), bytes->end()}));
  if (data->empty()) return 2;
  auto song = Song::Load(*data);  // the slow part, with no lock held
  if (!song) return 2;
  std::unique_ptr<Song> replaced;  // freed after the lock: a large song takes a while
  const std::lock_guard lock(mutex_);
  if (!synth_) return 3;
  StopLocked();
  song_data_ = std::move(data);
  replaced = std::exchange(ready_, std::move(song));
  song_handle_ = ++next_handle_;
  *handle = song_handle_;
  return 0;
}

int32_t FluidSynthMidi::KBGMPlay(int32_t handle, int32_t) {
  std::unique_ptr<Song> song;
  std::shared_ptr<const std::vector<uint8_t>> data;
  {
    const std::lock_guard lock(mutex_);
    if (!synth_ || handle == 0 || handle != song_handle_) return 1;
    song = std::move(ready_);
    data = song_data_;
  }
  // A song played before is read again from its data, again with no lock held.
  if (!song) song = Song::Load(*data);
  if (!song) return 2;
  std::unique_ptr<Song> replaced;  // freed after the lock: a large song takes a while
  {
    const std::lock_guard lock(mutex_);
    if (!synth_ || handle != song_handle_) return 1;  // replaced or freed meanwhile
    StopLocked();
    // No instrument or controller carries over from the last song.
    fluid_synth_system_reset(synth_->get());
    song->Attach(synth_->get());
    replaced = std::exchange(playing_song_, std::move(song));
    playing_ = true;
    tail_frames_ = 0;
  }
  // Installed after playing_ is set, so a renderer that just retired cannot leave us silent.
  mixer_.SetRenderer(MixChannel::kMusic, [this](float* left, float* right, size_t frames) {
    return Render(left, right, frames);
  });
  return 0;
}

int32_t FluidSynthMidi::KBGMGetInfo(int32_t handle, KbgmInfo* info) {
  if (!info) return 1;
  const std::lock_guard lock(mutex_);
  info->playing = handle != 0 && handle == song_handle_ && playing_ ? 1 : 0;
  return 0;
}

int32_t FluidSynthMidi::KBGMSetVolume(int32_t, int32_t volume) {
  // Not under our lock: the mixer calls Render with its own lock held.
  mixer_.SetChannelGain(MixChannel::kMusic, static_cast<float>(std::clamp(volume, 0, 100)) / 100);
  return 0;
}

int32_t FluidSynthMidi::KBGMStop() {
  const std::lock_guard lock(mutex_);
  StopLocked();
  return 0;
}

int32_t FluidSynthMidi::KBGMFree(int32_t handle) {
  std::unique_ptr<Song> ready;  // freed after the lock
  const std::lock_guard lock(mutex_);
  if (handle != 0 && handle == song_handle_) {
    StopLocked();
    song_data_.reset();
    ready = std::move(ready_);
    song_handle_ = 0;
  }
  return 0;
}

int32_t FluidSynthMidi::KBGMClose() {
  std::unique_ptr<Synth> last;
  std::unique_ptr<Song> played, ready;
  {
    const std::lock_guard lock(mutex_);
    if (owners_ == 0 || --owners_ > 0) return 0;
    StopLocked();
    played = std::move(playing_song_);
    last = std::move(synth_);
    song_data_.reset();
    ready = std::move(ready_);
    song_handle_ = 0;
  }
  // Render finds no synthesizer from now on and retires; freeing it takes no lock of ours.
  return 0;
}

void FluidSynthMidi::StopLocked() {
  playing_ = false;
  tail_frames_ = 0;
  // The song stays until the next one is swapped in: letting it go here would free the parsed
  // file under the lock the mixer renders with.
  if (playing_song_) playing_song_->Stop();
  if (synth_) fluid_synth_all_sounds_off(synth_->get(), -1);
}

bool FluidSynthMidi::Render(float* left, float* right, size_t frames) {
  const std::lock_guard lock(mutex_);
  if (!synth_) return false;
  render_left_.resize(frames);
  render_right_.resize(frames);
  // In FluidSynth's own blocks: the song's events of each block reach the synthesizer just
  // before it renders that block.
  for (size_t done = 0; done < frames;) {
    const size_t n = std::min(Song::kStep, frames - done);
    if (playing_ && playing_song_) playing_song_->Advance(n);
    fluid_synth_write_float(synth_->get(), static_cast<int>(n), render_left_.data() + done, 0, 1,
                            render_right_.data() + done, 0, 1);
    done += n;
  }
  float peak = 0.0f;
  for (size_t i = 0; i < frames; ++i) {
    left[i] += render_left_[i];
    right[i] += render_right_[i];
    peak = std::max({peak, std::abs(render_left_[i]), std::abs(render_right_[i])});
  }
  if (playing_ && playing_song_) {
    // The player reports its end only a good while after the last event, so the piece counts
    // as ended as soon as its position reaches the last tick; notes still ringing fade out.
    if (playing_song_->Ended()) {
      playing_ = false;
      tail_frames_ = 0;
    }
    return true;
  }
  // After the song: keep rendering while the last notes and the reverb die away.
  tail_frames_ += frames;
  return peak > kSilence && tail_frames_ < kLongestTail;
}

}  // namespace chimewell
