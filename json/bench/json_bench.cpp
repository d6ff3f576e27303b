// The document's work against the engine it runs on, in the same run:
//  - a decode (construction, Parse of a service answer, two reads, destruction) against two bare
//    engines and JSON.parse of the same answer in one of them; goal at most 1.5x;
//  - Parse and ToText of a 1 MiB JSON text against JSON.parse and JSON.stringify of the same text
//    evaluated directly in an engine; goal at most 2x.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "json/json_document.h"
#include "json/script_host.h"
#include "json/script_literal.h"
#include "text/text_operations.h"

namespace quorvant {
namespace {

const Text& ServiceAnswer() {
  static const Text answer(
      R"({"ret":"\u8c03\u7528\u6210\u529f","url":"https://example.com/item?id=123456",)"
      R"("title":"\u5546\u54c1\u6807\u9898","price":"19.90","code":200,"time":1700000000})");
  return answer;
}

// A list of records as a shop service would send it, a little over 1 MiB.
const Text& LargeJson() {
  static const Text json = [] {
    std::string text = "{\"items\":[";
    for (int i = 0; text.size() < (1u << 20); ++i) {
      if (i > 0) text += ',';
      text += "{\"id\":" + std::to_string(i) + ",\"name\":\"\xc9\xcc\xc6\xb7 " + std::to_string(i) +
              " \\\"q\\\"\",\"price\":" + std::to_string(i % 1000) +
              ".25,\"tags\":[\"a\",\"b\"],\"ok\":true,\"url\":\"https://example.com/item?id=" +
              std::to_string(i) + "\"}";
    }
    text += "]}";
    return Text(text);
  }();
  return json;
}

ScriptHost BareEngine() {
  ScriptHost host = ScriptHost::Create();
  host.SetLanguage("JavaScript");
  return host;
}

void Construction(benchmark::State& state) {
  for (auto _ : state) {
    JsonDocument document;
    benchmark::DoNotOptimize(document);
  }
}

void BareEngineCreation(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(BareEngine());
}

void Decode(benchmark::State& state) {
  for (auto _ : state) {
    JsonDocument document;
    document.Parse(ServiceAnswer());
    benchmark::DoNotOptimize(document.GetText("ret"));
    benchmark::DoNotOptimize(document.GetText("url"));
  }
}

void DecodeReference(benchmark::State& state) {
  const Text parse = "JSON.parse(" + ScriptStringLiteral(ServiceAnswer()) + ")";
  for (auto _ : state) {
    const ScriptHost first = BareEngine();
    const ScriptHost second = BareEngine();
    benchmark::DoNotOptimize(second.Eval(parse, ResultKind::kUntyped));
  }
}

void LargeParseToText(benchmark::State& state) {
  JsonDocument document;
  for (auto _ : state) {
    document.Parse(LargeJson());
    benchmark::DoNotOptimize(document.ToText());
  }
  state.SetBytesProcessed(state.iterations() * LargeJson().size());
}

void LargeReference(benchmark::State& state) {
  const ScriptHost engine = BareEngine();
  const Text roundTrip = "JSON.stringify(JSON.parse(" + ScriptStringLiteral(LargeJson()) + "))";
  for (auto _ : state) benchmark::DoNotOptimize(engine.Eval(roundTrip, ResultKind::kText));
  state.SetBytesProcessed(state.iterations() * LargeJson().size());
}

// Keeps the median wall and processor times of each benchmark for the ratios printed at the end;
// the goals are read on wall time.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred || run.aggregate_name != "median") continue;
      seconds_[run.run_name.function_name] = run.GetAdjustedRealTime();
      cpuSeconds_[run.run_name.function_name] = run.GetAdjustedCPUTime();
    }
  }

  // A goal of 0 prints the ratio alone.
  void PrintRatio(const char* label, const std::string& measured, const std::string& reference,
                  double goal) const {
    const double ratio = Ratio(seconds_, measured, reference);
    const double cpuRatio = Ratio(cpuSeconds_, measured, reference);
    if (ratio <= 0) return;
    std::printf("%-34s %6.2fx (cpu %.2fx)", label, ratio, cpuRatio);
    if (goal > 0) std::printf("  goal <= %.1fx: %s", goal, ratio <= goal ? "met" : "missed");
    std::printf("\n");
  }

 private:
  static double Ratio(const std::map<std::string, double>& times, const std::string& measured,
                      const std::string& reference) {
    const auto a = times.find(measured);
    const auto b = times.find(reference);
    if (a == times.end() || b == times.end() || b->second <= 0) return 0;
    return a->second / b->second;
  }

  std::map<std::string, double> seconds_;
  std::map<std::string, double> cpuSeconds_;
};

}  // namespace
}  // namespace quorvant

int main(int argc, char** argv) {
  using namespace quorvant;
  const auto timed = [](benchmark::internal::Benchmark* b) {
    b->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
  };
  timed(benchmark::RegisterBenchmark("Construction", Construction));
  timed(benchmark::RegisterBenchmark("BareEngineCreation", BareEngineCreation));
  timed(benchmark::RegisterBenchmark("Decode", Decode));
  timed(benchmark::RegisterBenchmark("DecodeReference", DecodeReference));
  timed(benchmark::RegisterBenchmark("LargeParseToText", LargeParseToText));
  timed(benchmark::RegisterBenchmark("LargeReference", LargeReference));
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\n");
  reporter.PrintRatio("construction / bare engine", "Construction", "BareEngineCreation", 0);
  reporter.PrintRatio("decode / two engines + JSON.parse", "Decode", "DecodeReference", 1.5);
  reporter.PrintRatio("1 MiB Parse+ToText / direct", "LargeParseToText", "LargeReference", 2.0);
  benchmark::Shutdown();
  return 0;
}
