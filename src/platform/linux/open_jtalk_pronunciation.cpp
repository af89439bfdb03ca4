#include "platform/linux/open_jtalk_pronunciation.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#include "platform/linux/child_process.h"

namespace chimewell {
namespace {

constexpr char kNoWorkFolder[] = "cannot create a work folder for the engine";
constexpr char kTooLong[] = "a text is too long for one engine line: ";
constexpr char kNoTrace[] = "the engine wrote no analysis for: ";

// Open JTalk reads one line of at most 1,023 bytes; batches stay below that.
constexpr size_t kLineBytes = 900;
constexpr std::string_view kSentenceEnd = "。";
constexpr std::string_view kTraceStart = "[Text analysis result]\n";
constexpr std::string_view kDevoiced = "’";
constexpr std::string_view kPauses[] = {"、", "。"};

// The engine always synthesizes, and the trace is written only afterwards. The sound is thrown
// away, so it is made as cheaply as the engine allows: fast, at a low rate, without global
// variance. None of this touches the text analysis the trace reports.
const std::vector<std::string> kCheapSound = {"-r",  "8", "-s",  "2000", "-p",  "10",
                                              "-jm", "0", "-jf", "0",    "-ow", "/dev/null"};

struct Batch {
  std::vector<size_t> texts;  // indexes into the caller's texts
  std::string line;
  bool joined = true;  // the texts are separated by full stops, one after each
};

std::string OneLine(std::string text) {
  for (char& c : text) {
    if (c == '\r' || c == '\n' || c == '\t') c = ' ';
  }
  return text;
}

// Texts that hold a full stop of their own get a run each; the others share runs.
std::vector<Batch> MakeBatches(const std::vector<std::string>& texts) {
  std::vector<Batch> batches;
  Batch shared;
  for (size_t i = 0; i < texts.size(); ++i) {
    const std::string line = OneLine(texts[i]);
    if (line.find(kSentenceEnd) != std::string::npos) {
      batches.push_back({{i}, line, false});
      continue;
    }
    if (!shared.texts.empty() &&
        shared.line.size() + line.size() + kSentenceEnd.size() > kLineBytes) {
      batches.push_back(std::move(shared));
      shared = {};
    }
    shared.texts.push_back(i);
    shared.line.append(line).append(kSentenceEnd);
  }
  if (!shared.texts.empty()) batches.push_back(std::move(shared));
  return batches;
}

std::vector<SpokenWord> ParseTrace(const std::string& trace) {
  std::vector<SpokenWord> words;
  const size_t start = trace.find(kTraceStart);
  if (start == std::string::npos) return words;
  std::istringstream lines(trace.substr(start + kTraceStart.size()));
  std::string line;
  while (std::getline(lines, line) && !line.empty()) {
    std::vector<std::string> fields;
    std::istringstream cells(line);
    for (std::string cell; std::getline(cells, cell, ',');) fields.push_back(cell);
    if (fields.size() < 4) continue;
    std::string pronunciation = fields[fields.size() - 4];
    for (size_t at; (at = pronunciation.find(kDevoiced)) != std::string::npos;) {
      pronunciation.erase(at, kDevoiced.size());
    }
    words.push_back({fields.front(), std::move(pronunciation)});
  }
  return words;
}

// The words of a run split at its full stops: one group per text of a joined batch.
std::vector<std::vector<SpokenWord>> SplitAtSentenceEnds(std::vector<SpokenWord> words) {
  std::vector<std::vector<SpokenWord>> groups(1);
  for (SpokenWord& word : words) {
    if (word.written == kSentenceEnd) {
      groups.emplace_back();
    } else {
      groups.back().push_back(std::move(word));
    }
  }
  return groups;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

}  // namespace

std::optional<std::vector<std::vector<SpokenWord>>> ReadPronunciations(
    const OpenJTalkSetup& setup, const std::vector<std::string>& texts, std::string* error) {
  const std::vector<Batch> batches = MakeBatches(texts);
  for (const Batch& batch : batches) {
    if (batch.line.size() > kLineBytes) {
      *error = kTooLong + texts[batch.texts.front()];
      return std::nullopt;
    }
  }
  const std::string folder = MakeOpenJTalkWorkFolder("trace");
  if (folder.empty()) {
    *error = kNoWorkFolder;
    return std::nullopt;
  }
  std::string problem;
  auto trace_path = [&folder](size_t k) { return folder + "/trace-" + std::to_string(k); };

  const size_t parallel = std::max(1u, std::thread::hardware_concurrency());
  std::deque<std::unique_ptr<ChildProcess>> running;
  for (size_t k = 0; k < batches.size(); ++k) {
    const std::string input = folder + "/text-" + std::to_string(k);
    std::ofstream(input, std::ios::binary) << batches[k].line << '\n';
    std::vector<std::string> argv = {setup.command, "-x", setup.dictionary, "-m", setup.voice};
    argv.insert(argv.end(), kCheapSound.begin(), kCheapSound.end());
    argv.insert(argv.end(), {"-ot", trace_path(k), input});
    if (running.size() == parallel) {
      running.front()->Wait();
      running.pop_front();
    }
    running.push_back(std::make_unique<ChildProcess>());
    running.back()->Start(argv);
  }
  for (const auto& process : running) process->Wait();

  std::vector<std::vector<SpokenWord>> result(texts.size());
  for (size_t k = 0; k < batches.size() && problem.empty(); ++k) {
    const Batch& batch = batches[k];
    std::vector<SpokenWord> words = ParseTrace(ReadFile(trace_path(k)));
    if (words.empty()) {
      problem = kNoTrace + batch.line;
    } else if (!batch.joined) {
      result[batch.texts.front()] = std::move(words);
    } else {
      auto groups = SplitAtSentenceEnds(std::move(words));
      if (groups.size() < batch.texts.size()) problem = kNoTrace + batch.line;
      for (size_t i = 0; i < batch.texts.size() && i < groups.size(); ++i) {
        result[batch.texts[i]] = std::move(groups[i]);
      }
    }
  }
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  if (!problem.empty()) {
    *error = problem;
    return std::nullopt;
  }
  return result;
}

std::string PronunciationText(const std::vector<SpokenWord>& words) {
  std::string text;
  for (const SpokenWord& word : words) {
    if (std::find(std::begin(kPauses), std::end(kPauses), word.pronunciation) ==
        std::end(kPauses)) {
      text += word.pronunciation;
    }
  }
  return text;
}

}  // namespace chimewell
