#pragma once
// The chimes that come with the program: their file names (without ".wav", in the chimes
// folder) and what the page calls them. The sound files themselves are made at build time.
#include <array>
#include <string_view>

namespace chimewell {

struct BuiltInChime {
  std::string_view name;   // what a schedule line names, and the file's name
  std::string_view label;  // how the page offers it
};

inline constexpr std::array<BuiltInChime, 24> kBuiltInChimes{{
    {"pips", "時報（ピッ・ピッ・ピッ・ポーン）"},
    {"westminster-1", "ウェストミンスター 15分"},
    {"westminster-2", "ウェストミンスター 30分"},
    {"westminster-3", "ウェストミンスター 45分"},
    {"westminster-hour-1", "ウェストミンスター 正時 1打"},
    {"westminster-hour-2", "ウェストミンスター 正時 2打"},
    {"westminster-hour-3", "ウェストミンスター 正時 3打"},
    {"westminster-hour-4", "ウェストミンスター 正時 4打"},
    {"westminster-hour-5", "ウェストミンスター 正時 5打"},
    {"westminster-hour-6", "ウェストミンスター 正時 6打"},
    {"westminster-hour-7", "ウェストミンスター 正時 7打"},
    {"westminster-hour-8", "ウェストミンスター 正時 8打"},
    {"westminster-hour-9", "ウェストミンスター 正時 9打"},
    {"westminster-hour-10", "ウェストミンスター 正時 10打"},
    {"westminster-hour-11", "ウェストミンスター 正時 11打"},
    {"westminster-hour-12", "ウェストミンスター 正時 12打"},
    {"school", "学校のチャイム（キンコンカンコン）"},
    {"school-end", "学校のチャイム（後半）"},
    {"tone-440", "単音 440Hz"},
    {"tone-880", "単音 880Hz"},
    {"tone-1000", "単音 1000Hz"},
    {"tone-2000", "単音 2000Hz"},
    {"ding-dong", "ピンポン（2音）"},
    {"ding-dong-up", "ピンポン（上がる2音）"},
}};

// A chime's file is its name with this, in the chimes folder.
inline constexpr std::string_view kChimeExtension = ".wav";

}  // namespace chimewell
