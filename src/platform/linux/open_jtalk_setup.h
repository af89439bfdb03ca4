#pragma once
// Finds the Open JTalk program, its dictionary and a voice, and splits text into its lines.
#include <cstddef>
#include <string>
#include <vector>

namespace chimewell {

struct OpenJTalkSetup {
  std::string command;     // program name or path
  std::string dictionary;  // folder holding sys.dic
  std::string voice;       // .htsvoice file
};

// Fills the empty fields of `given` from the usual install places. `missing` gets the
// message for the first part that cannot be found, or stays empty.
OpenJTalkSetup FindOpenJTalk(OpenJTalkSetup given, std::string* missing);

// Open JTalk speaks one line of at most about 1,000 bytes; this cuts a text into such pieces,
// preferably after a full stop or comma, never inside a UTF-8 character. Line ends become
// blanks. Empty when there is nothing to say.
std::vector<std::string> SplitForOpenJTalk(const std::string& text, size_t max_bytes = 900);

// A new private folder "chimewell-<purpose>-<pid>-XXXXXX" under $TMPDIR (or /tmp) for the
// engine's output files; empty when none can be made. The first call in a process also removes
// the stale folders of that purpose.
std::string MakeOpenJTalkWorkFolder(const std::string& purpose);

// Removes the work folders of `purpose` whose process is gone (a crash leaves them behind);
// folders of running processes, of other users, and links are left alone. Returns how many
// were removed.
size_t RemoveStaleWorkFolders(const std::string& purpose);

}  // namespace chimewell
