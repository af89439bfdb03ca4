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

#include "core/text_encoding.h"
#include "platform/linux/child_process.h"

namespace chimewell {
namespace {

constexpr char kNoWorkFolder[] = "cannot create a work folder for the engine";
constexpr char kTooLong[] = "a text is too long for one engine line: ";
constexpr char kNoTrace[] = "the engine wrote no analysis for: ";

// Open JTalk reads one line of at most 1,023 bytes; batches stay below that.
constexpr size_t kLineBytes = 900;
constexpr std::string_view kSentenceEnd = "。";
constexpr std::string_view kClosing = "以上";
constexpr std::string_view kTraceStart = "[Text analysis result]\n";
constexpr std::string_view kDevoiced = "’";
constexpr std::string_view kPauses[] = {"、", "。"};

// The engine always synthesizes, and the trace is written only afterwards. The sound is thrown
// away, so it is made as cheaply as the engine allows: fast, at a low rate, without global
// variance. None of this touches the text analysis the trace reports.
const std::vector<std::string> kCheapSound = {"-r",  "8", "-s",  "2000", "-p",  "10",
                                              "-jm", "0", "-jf", "0",    "-ow", "/dev/null"};

// The texts of one engine run, each followed by a full stop, and the closing word: one text,
// or several that hold no full stop of their own and are told apart by the full stops after
// them. The closing word gives every run something to say, and so an analysis to write, also
// when its texts have nothing to say ("♪").
struct Batch {
  std::vector<size_t> texts;  // indexes into the caller's texts
  std::string line;
};

// The text on one line, in well-formed UTF-8: the engine takes a stray lead byte and the bytes
// after it, the full stop that ends the text among them, for one character.
std::string OneLine(std::string_view given) {
  std::string text = ToValidUtf8(given);
  for (char& c : text) {
    if (c == '\r' || c == '\n' || c == '\t' || c == '\0') c = ' ';
  }
  return text;
}

std::string Closed(std::string line) { return line.append(kClosing).append(kSentenceEnd); }

// Texts that hold a full stop of their own get a run each; the others share runs.
std::vector<Batch> MakeBatches(const std::vector<std::string>& texts) {
  std::vector<Batch> batches;
  Batch shared;
  const size_t closing = kClosing.size() + kSentenceEnd.size();
  for (size_t i = 0; i < texts.size(); ++i) {
    std::string line = OneLine(texts[i]).append(kSentenceEnd);
    if (line.find(kSentenceEnd) + kSentenceEnd.size() < line.size()) {
      batches.push_back({{i}, Closed(std::move(line))});
      continue;
    }
    if (!shared.texts.empty() && shared.line.size() + line.size() + closing > kLineBytes) {
      shared.line = Closed(std::move(shared.line));
      batches.push_back(std::move(shared));
      shared = {};
    }
    shared.texts.push_back(i);
    shared.line.append(line);
  }
  if (!shared.texts.empty()) {
    shared.line = Closed(std::move(shared.line));
    batches.push_back(std::move(shared));
  }
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

// The words of a shared run split at its full stops, one group per text; nullopt when the
// engine did not keep every full stop a word of its own. It joins a full stop to the symbols
// next to it ("♪。" after a text ending in ♪) and makes one of a half-width "｡" within a text:
// split there, every later text would get the words of the one before it.
std::optional<std::vector<std::vector<SpokenWord>>> SplitAtSentenceEnds(
    std::vector<SpokenWord> words, size_t texts) {
  std::vector<std::vector<SpokenWord>> groups(1);
  for (SpokenWord& word : words) {
    if (word.written == kSentenceEnd) {
      groups.emplace_back();
    } else if (word.written.find(kSentenceEnd) != std::string::npos) {
      return std::nullopt;
    } else {
      groups.back().push_back(std::move(word));
    }
  }
  // The texts, the closing word, and nothing after its full stop.
  const bool whole = groups.size() == texts + 2 && groups[texts].size() == 1 &&
                     groups[texts].front().written == kClosing && groups.back().empty();
  if (!whole) return std::nullopt;
  groups.resize(texts);
  return groups;
}

// The words of a run of one text: all of them, less the closing word and the full stops the
// run added.
std::vector<SpokenWord> WordsOfOneText(std::vector<SpokenWord> words) {
  auto ends_with = [&words](std::string_view written) {
    return !words.empty() && words.back().written == written;
  };
  if (ends_with(kSentenceEnd)) words.pop_back();
  if (ends_with(kClosing)) words.pop_back();
  if (ends_with(kSentenceEnd)) words.pop_back();
  return words;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

// Runs the engine on each of `lines`, side by side on every core; the words of each, empty for
// a run that wrote no analysis.
std::vector<std::vector<SpokenWord>> RunEngine(const OpenJTalkSetup& setup,
                                               const std::string& folder,
                                               const std::vector<std::string>& lines) {
  auto trace_path = [&folder](size_t k) { return folder + "/trace-" + std::to_string(k); };
  const size_t parallel = std::max(1u, std::thread::hardware_concurrency());
  std::deque<std::unique_ptr<ChildProcess>> running;
  for (size_t k = 0; k < lines.size(); ++k) {
    const std::string input = folder + "/text-" + std::to_string(k);
    std::ofstream(input, std::ios::binary) << lines[k] << '\n';
    std::error_code ignored;
    std::filesystem::remove(trace_path(k), ignored);  // of an earlier round
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
  std::vector<std::vector<SpokenWord>> words;
  for (size_t k = 0; k < lines.size(); ++k) words.push_back(ParseTrace(ReadFile(trace_path(k))));
  return words;
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
  std::vector<std::string> lines;
  for (const Batch& batch : batches) lines.push_back(batch.line);
  std::vector<std::vector<SpokenWord>> runs = RunEngine(setup, folder, lines);

  std::string problem;
  std::vector<std::vector<SpokenWord>> result(texts.size());
  std::vector<size_t> alone;  // texts of shared runs the engine did not split at their ends
  for (size_t k = 0; k < batches.size() && problem.empty(); ++k) {
    const Batch& batch = batches[k];
    if (runs[k].empty()) {
      problem = kNoTrace + batch.line;
    } else if (batch.texts.size() == 1) {
      result[batch.texts.front()] = WordsOfOneText(std::move(runs[k]));
    } else if (auto groups = SplitAtSentenceEnds(std::move(runs[k]), batch.texts.size())) {
      for (size_t i = 0; i < batch.texts.size(); ++i) {
        result[batch.texts[i]] = std::move((*groups)[i]);
      }
    } else {
      alone.insert(alone.end(), batch.texts.begin(), batch.texts.end());
    }
  }
  if (problem.empty() && !alone.empty()) {
    lines.clear();
    for (const size_t i : alone) lines.push_back(Closed(OneLine(texts[i]).append(kSentenceEnd)));
    runs = RunEngine(setup, folder, lines);
    for (size_t k = 0; k < alone.size() && problem.empty(); ++k) {
      if (runs[k].empty()) problem = kNoTrace + lines[k];
      result[alone[k]] = WordsOfOneText(std::move(runs[k]));
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
