#pragma once
// The program's own read-only files, the default page template and the user's guide, and
// where an installed build keeps them.
#include <string>

namespace chimewell {

// How this build lays itself out when installed; absolute folders.
struct InstallLayout {
  std::string bin_dir;   // where the programs go
  std::string data_dir;  // where the default page template and the guide go
  std::string app_id;    // the reverse-DNS name of the desktop entry and icon
};

struct ProgramData {
  std::string page_template;  // empty when there is none anywhere
  std::string user_guide;
  std::string chimes;  // the built-in chimes' folder; empty when there is none anywhere
};

// Looks beside the executable (the build tree and a portable copy: the template named after
// the executable, the guide in doc/), then in the data folder at the same place relative to the
// executable as in the install layout (an installed tree that was moved), then in the layout's
// data folder itself.
ProgramData FindProgramData(const std::string& executable, const InstallLayout& layout);

}  // namespace chimewell
