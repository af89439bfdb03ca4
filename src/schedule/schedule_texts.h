#pragma once
// The texts the schedule shows the user, kept together so they can be read side by side.
#include <string>

namespace chimewell::schedule_texts {

// "スクリプトの 3行目4項目めにエラーがあります": line and item both counted from 1.
inline std::string LineError(int line, int item) {
  return "スクリプトの " + std::to_string(line) + "行目" + std::to_string(item) +
         "項目めにエラーがあります";
}

}  // namespace chimewell::schedule_texts
