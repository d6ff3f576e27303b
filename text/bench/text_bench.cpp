// Measures the scanning operations on 1 MiB and 16 MiB of mostly-ASCII text with runs of
// Chinese, next to std::string_view::find on the same bytes, and prints how each operation grows
// with the text and how FindText compares with the plain byte search.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "text/encoding.h"
#include "text/text_operations.h"

namespace quorvant {
namespace {

constexpr std::size_t kMiB = 1024 * 1024;
constexpr std::size_t kLargeSize = 16 * kMiB;
constexpr std::size_t kSmallSize = 1 * kMiB;

// Absent from the generated text except once at its very end; one starts with a byte that the
// text holds only as a rare second byte, the other with a common letter, so that the byte search
// stops often.
constexpr std::string_view kRareSought = "{\"url\":";
constexpr std::string_view kCommonSought = "taokouling";

// Words of ASCII letters with punctuation and line breaks, and every tenth word or so a run of
// two-byte characters, mostly GB2312 (second byte 0xA1 and up), some with an ASCII second byte.
Text MixedText(std::size_t size, std::uint32_t seed) {
  std::mt19937 random(seed);
  const auto below = [&random](std::uint32_t n) { return random() % n; };
  std::string text;
  text.reserve(size + 64);
  std::size_t lineStart = 0;
  while (text.size() < size) {
    if (below(10) == 0) {
      for (std::uint32_t i = 0, n = 2 + below(7); i < n; ++i) {
        if (below(8) == 0) {
          text += static_cast<char>(0x81 + below(0x20));
          text += static_cast<char>(0x40 + below(0x3F));
        } else {
          text += static_cast<char>(0xB0 + below(0x48));
          text += static_cast<char>(0xA1 + below(0x5E));
        }
      }
    } else {
      for (std::uint32_t i = 0, n = 2 + below(8); i < n; ++i) {
        text += static_cast<char>('a' + below(26));
      }
    }
    if (below(10) == 0) text += ',';
    if (text.size() - lineStart > 80) {
      text += '\n';
      lineStart = text.size();
    } else {
      text += ' ';
    }
  }
  text.resize(size - kRareSought.size() - kCommonSought.size() - 1);
  // The cut may have left a lone lead byte; a space keeps the sought texts on character starts.
  text += ' ';
  text += kCommonSought;
  text += kRareSought;
  return Text(std::move(text));
}

// The texts one measurement works through in turn. Both sizes cover 16 MiB in all, so that the
// small one is not measured from the processor's caches while the large one is not.
std::vector<Text> Texts(std::size_t size) {
  std::vector<Text> texts;
  for (std::uint32_t i = 0; i < kLargeSize / size; ++i) {
    texts.push_back(MixedText(size, 936 + i));
  }
  return texts;
}

using Operation = std::function<void(const Text&)>;

// The best of the repetitions: the one least disturbed by whatever else runs on the machine.
double Fastest(const std::vector<double>& values) {
  return values.empty() ? 0.0 : *std::min_element(values.begin(), values.end());
}

std::string SizeName(std::size_t size) {
  return std::to_string(size / kMiB) + "MiB";
}

void Register(const std::string& name, const std::vector<Text>& texts, Operation operation) {
  const std::size_t size = static_cast<std::size_t>(texts.front().size());
  benchmark::RegisterBenchmark((name + "/" + SizeName(size)).c_str(),
                               [&texts, operation](benchmark::State& state) {
                                 std::size_t next = 0;
                                 for (auto _ : state) {
                                   operation(texts[next]);
                                   next = (next + 1) % texts.size();
                                 }
                                 state.SetBytesProcessed(state.iterations() * texts.front().size());
                               })
      ->Unit(benchmark::kMillisecond)
      ->MinTime(0.1)
      ->Repetitions(5)
      ->ComputeStatistics("min", Fastest)
      ->DisplayAggregatesOnly();
}

// Passes every run on to the console and keeps the fastest repetition's processor time per
// iteration for the ratios; processor time, because other programs may share the machine.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred || run.aggregate_name != "min" || run.iterations == 0) continue;
      seconds_[run.run_name.function_name] =
          run.cpu_accumulated_time / static_cast<double>(run.iterations);
    }
  }

  double Seconds(const std::string& name) const {
    const auto it = seconds_.find(name);
    return it == seconds_.end() ? 0.0 : it->second;
  }

 private:
  std::map<std::string, double> seconds_;
};

struct Entry {
  const char* name;
  Operation operation;
};

std::vector<Entry> Entries() {
  const Text rare(kRareSought);
  const Text common(kCommonSought);
  return {
      {"FindText.rare", [rare](const Text& t) { benchmark::DoNotOptimize(FindText(t, rare)); }},
      {"string_view::find.rare",
       [](const Text& t) { benchmark::DoNotOptimize(t.view().find(kRareSought)); }},
      {"FindText.common",
       [common](const Text& t) { benchmark::DoNotOptimize(FindText(t, common)); }},
      {"string_view::find.common",
       [](const Text& t) { benchmark::DoNotOptimize(t.view().find(kCommonSought)); }},
      {"FindText.common.ignoreCase",
       [](const Text& t) {
         benchmark::DoNotOptimize(FindText(t, "TaoKouLing", std::nullopt, true));
       }},
      {"FindTextReverse",
       [common](const Text& t) { benchmark::DoNotOptimize(FindTextReverse(t, common)); }},
      {"ReplaceText", [](const Text& t) { benchmark::DoNotOptimize(ReplaceText(t, ",", "%2C")); }},
      {"SplitText", [](const Text& t) { benchmark::DoNotOptimize(SplitText(t, "\n")); }},
      {"UrlEncode.viaUtf8",
       [](const Text& t) { benchmark::DoNotOptimize(UrlEncode(t, false, true)); }},
  };
}

void PrintRatios(const RatioReporter& reporter, const std::vector<Entry>& entries) {
  const std::string small = "/" + SizeName(kSmallSize);
  const std::string large = "/" + SizeName(kLargeSize);
  std::printf("\nGrowth from %s to %s (linear is 16, goal at most 20):\n", small.c_str() + 1,
              large.c_str() + 1);
  for (const Entry& entry : entries) {
    const double a = reporter.Seconds(entry.name + small);
    const double b = reporter.Seconds(entry.name + large);
    if (a > 0 && b > 0) std::printf("  %-28s %6.1f\n", entry.name, b / a);
  }
  std::printf("\nFindText throughput as a share of string_view::find (goal at least 0.33):\n");
  for (const char* kind : {"rare", "common"}) {
    for (const std::string& size : {small, large}) {
      const double mine = reporter.Seconds(std::string("FindText.") + kind + size);
      const double reference = reporter.Seconds(std::string("string_view::find.") + kind + size);
      if (mine > 0 && reference > 0) {
        std::printf("  %-6s %-6s %6.2f\n", kind, size.c_str() + 1, reference / mine);
      }
    }
  }
}

}  // namespace
}  // namespace quorvant

int main(int argc, char** argv) {
  using namespace quorvant;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

  const std::vector<Text> smallTexts = Texts(kSmallSize);
  const std::vector<Text> largeTexts = Texts(kLargeSize);
  const std::vector<Entry> entries = Entries();
  for (const std::vector<Text>* texts : {&smallTexts, &largeTexts}) {
    for (const Entry& entry : entries) Register(entry.name, *texts, entry.operation);
  }

  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  PrintRatios(reporter, entries);
  return 0;
}
