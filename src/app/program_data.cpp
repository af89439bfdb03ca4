#include "app/program_data.h"

#include <filesystem>
#include <vector>

namespace chimewell {

ProgramData FindProgramData(const std::string& executable, const InstallLayout& layout) {
  namespace fs = std::filesystem;
  const fs::path program = fs::absolute(executable);
  const fs::path folder = program.parent_path();
  std::vector<ProgramData> candidates;
  fs::path beside_template = program;
  beside_template.replace_extension(".html");
  candidates.push_back({beside_template.string(), (folder / "doc" / "index.html").string(),
                        (folder / "chimes").string()});
  for (const fs::path& data : {folder / fs::path(layout.data_dir).lexically_relative(layout.bin_dir),
                              fs::path(layout.data_dir)}) {
    const fs::path normal = data.lexically_normal();
    candidates.push_back({(normal / "chimewell.html").string(),
                          (normal / "doc" / "index.html").string(), (normal / "chimes").string()});
  }
  std::error_code ec;
  ProgramData found;
  for (const ProgramData& c : candidates) {
    if (found.page_template.empty() && fs::is_regular_file(c.page_template, ec)) {
      found.page_template = c.page_template;
    }
    if (found.user_guide.empty() && fs::is_regular_file(c.user_guide, ec)) {
      found.user_guide = c.user_guide;
    }
    if (found.chimes.empty() && fs::is_directory(c.chimes, ec)) found.chimes = c.chimes;
  }
  // Without any guide the page's link answers with the "no other pages" page; the path beside
  // the program is as good a place to name as any.
  if (found.user_guide.empty()) found.user_guide = candidates.front().user_guide;
  return found;
}

}  // namespace chimewell
