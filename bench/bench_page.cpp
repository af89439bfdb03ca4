// Rendering the default configuration page with every placeholder filled, as one request does.
#include <benchmark/benchmark.h>

#include "core/line_list.h"
#include "platform/file_system.h"
#include "web/page_option_lists.h"
#include "web/page_values.h"

namespace chimewell {
namespace {

const std::string kTemplatePath = std::string(CHIMEWELL_SOURCE_DIR) + "/data/chimewell.html";

struct Fixture {
  Fixture() {
    for (int i = 0; i < 40; ++i)
      schedule.push_back("Time \"[hour][min]\" At " + std::to_string(i % 24) + ":00");
    for (int i = 0; i < 120; ++i)
      fonts.push_back({"Font Family " + std::to_string(i), kOutlineFontType});
    jiho.LastFolder.fill("/home/user/voices/set");
    date_fonts = BuildFontOptions(fonts, "Font Family 3");
    digit_fonts = BuildFontOptions(fonts, "Font Family 7");
  }

  ReplacementList List() const {
    ReplacementList list;
    AddSectionOpen(list, PageSection::kDigi);
    AppendPageValues(list, {},
                     {.config = config,
                      .jiho = jiho,
                      .clock = clock,
                      .schedule_lines = schedule,
                      .version_text = "Chimewell 0.1.0",
                      .document_url = "file:///opt/chimewell/doc/index.html",
                      .date_font_options = date_fonts,
                      .digit_font_options = digit_fonts,
                      .colour_grids = grids},
                     {.jiho_format = jiho.Format, .now = 45000.5}, nullptr);
    return list;
  }

  ConfigSettings config;
  JihoSettings jiho;
  ClockSettings clock;
  LineList schedule;
  std::vector<FontFamily> fonts;
  std::string date_fonts, digit_fonts;
  ColourGrids grids = BuildColourGrids();
  RealFileSystem files;
};

// The whole per-request work: building the list and rendering the template read from disk.
void BM_RenderDefaultPage(benchmark::State& state) {
  const Fixture f;
  size_t bytes = 0;
  for (auto _ : state) {
    const std::string page = RenderPage(f.files, kTemplatePath, f.List());
    bytes = page.size();
    benchmark::DoNotOptimize(page.data());
  }
  state.counters["page_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_RenderDefaultPage)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace chimewell

namespace chimewell {
namespace {

void BM_BuildListOnly(benchmark::State& state) {
  const Fixture f;
  for (auto _ : state) benchmark::DoNotOptimize(f.List().Lines().data());
}
BENCHMARK(BM_BuildListOnly)->Unit(benchmark::kMicrosecond);

void BM_RenderPrebuiltList(benchmark::State& state) {
  const Fixture f;
  const ReplacementList list = f.List();
  for (auto _ : state) benchmark::DoNotOptimize(RenderPage(f.files, kTemplatePath, list).data());
}
BENCHMARK(BM_RenderPrebuiltList)->Unit(benchmark::kMicrosecond);

void BM_ReadTemplateOnly(benchmark::State& state) {
  const Fixture f;
  for (auto _ : state) benchmark::DoNotOptimize(f.files.ReadFile(kTemplatePath, FileKind::kPage)->data());
}
BENCHMARK(BM_ReadTemplateOnly)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace chimewell
