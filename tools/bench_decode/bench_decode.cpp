// A decode through the handler against the stand-in decoding service on loopback, timed over many
// decodes in one process, against the least a decode could do in the same run: the same POST
// made with libcurl directly and its answer read by JSON.parse in one bare engine created for it.
// Goal: at most 1.5x. The two halves of each are timed as well, to show where the time goes.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <QCoreApplication>

#include "app/decode_share_code.h"
#include "app/main_window_events.h"
#include "app/tests/fake_ui.h"
#include "app/window_description.h"
#include "json/json_document.h"
#include "text/text_operations.h"
#include "tools/bench_decode/reference_decode.h"
#include "tools/decoding_service/decoding_service.h"
#include "web/fetch_page.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRounds = 15;
constexpr int kCallsPerRound = 20;
constexpr char kExpectedLink[] = "https://m.shop.example/h.5Hn3yQf?sm=7f2a1c";
constexpr char kForm[] = "username=qorbex&password=qorbex&text=%EF%BF%A5Hn3yQf7JkEz%EF%BF%A5";

struct Measured {
  const char* name;
  std::function<bool()> call;  // false when the call gave a wrong result
  std::vector<double> microseconds = {};
  double Median() const {
    std::vector<double> sorted = microseconds;
    std::sort(sorted.begin(), sorted.end());
    return sorted[sorted.size() / 2];
  }
};

// Microseconds per call over one round.
double TimeRound(const Measured& measured) {
  const auto start = Clock::now();
  for (int i = 0; i < kCallsPerRound; ++i) {
    if (!measured.call()) {
      std::fprintf(stderr, "bench_decode: %s gave a wrong result\n", measured.name);
      std::exit(1);
    }
  }
  const std::chrono::duration<double, std::micro> spent = Clock::now() - start;
  return spent.count() / kCallsPerRound;
}

}  // namespace

int main(int argc, char* argv[]) {
  using namespace quorvant;
  QCoreApplication application(argc, argv);
  const decoding_service::DecodingService service;
  if (service.Port() == 0) {
    std::fputs("bench_decode: the stand-in service cannot listen\n", stderr);
    return 1;
  }
  const std::string endpoint = service.Endpoint();

  const AppSettings settings{"https://home.test/", "Home[home.test]", Text(endpoint)};
  fakes::FakeDesktop desktop;
  MainWindowEvents events{settings, desktop};
  fakes::FakeWindow window{MainWindowDescription(settings), events};
  window.WriteEdit(Control::编辑框_淘口令, "￥Hn3yQf7JkEz￥");
  const std::string answer = bench::ReferencePost(endpoint, kForm);

  std::vector<Measured> measured = {
      {"decode: DecodeShareCode",
       [&] {
         DecodeShareCode(window, settings.decodeEndpoint);
         return window.ReadEdit(Control::编辑框_解密后) == Text(kExpectedLink);
       }},
      {"reference: libcurl POST + bare JSON.parse",
       [&] { return bench::ReferenceDecode(endpoint, kForm) == kExpectedLink; }},
      {"  decode's fetch: FetchPage",
       [&] { return FetchPage(settings.decodeEndpoint, 1, kForm).view() == answer; }},
      {"  reference's fetch: libcurl POST",
       [&] { return bench::ReferencePost(endpoint, kForm) == answer; }},
      {"  decode's read: JsonDocument, Parse, two GetText",
       [&] {
         JsonDocument document;
         document.Parse(Text(answer));
         return !document.GetText("ret").empty() && document.GetText("url") == Text(kExpectedLink);
       }},
      {"  reference's read: bare engine, JSON.parse",
       [&] { return bench::ReferenceRead(answer) == kExpectedLink; }},
  };

  // Warm every path up, then take rounds in turn so that all see the same machine.
  for (const Measured& m : measured) TimeRound(m);
  for (int round = 0; round < kRounds; ++round) {
    for (Measured& m : measured) m.microseconds.push_back(TimeRound(m));
  }

  std::printf("%d rounds of %d calls; median microseconds per call\n", kRounds, kCallsPerRound);
  for (const Measured& m : measured) std::printf("  %-50s %9.1f\n", m.name, m.Median());
  const auto ratio = [&](std::size_t ours, std::size_t theirs) {
    return measured[ours].Median() / measured[theirs].Median();
  };
  std::printf("decode / reference: %.2fx (goal at most 1.50x)\n", ratio(0, 1));
  std::printf("  fetch / libcurl POST: %.2fx; read / bare JSON.parse: %.2fx\n", ratio(2, 3),
              ratio(4, 5));
  return 0;
}
