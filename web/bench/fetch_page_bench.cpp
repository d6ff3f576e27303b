// Downloads 64 MiB from a loopback server with FetchPage and with the curl program, in the same
// run, and prints the time ratio (goal: at most 1.25) and FetchPage's peak memory against the
// body size (goal: at most 2). Each download runs in a process of its own, so that its peak
// resident size is its own.
//
//   fetch_page_bench [rounds]
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
// steady_clock comes with <thread>: <chrono> itself does not compile with the GBK execution
// character set.
#include <thread>
#include <vector>

#include "text/text_operations.h"
#include "tools/loopback_http/loopback_http.h"
#include "web/fetch_page.h"

extern char** environ;

namespace {

constexpr std::size_t kBodySize = 64u << 20;
constexpr std::size_t kBlockSize = 1u << 20;
constexpr char kFetchArgument[] = "--fetch";
constexpr char kGrowArgument[] = "--grow";

struct Outcome {
  double seconds = 0;
  long peakKilobytes = 0;
  bool succeeded = false;
};

Outcome RunProcess(std::vector<std::string> arguments) {
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return {};
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) return {};
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  return {elapsed.count(), usage.ru_maxrss,
          WIFEXITED(status) && WEXITSTATUS(status) == EXIT_SUCCESS};
}

int FetchInThisProcess(const char* url) {
  const quorvant::Bytes body = quorvant::FetchPage(url);
  return static_cast<std::size_t>(body.size()) == kBodySize ? EXIT_SUCCESS : EXIT_FAILURE;
}

// What holding the body whole costs without any network: the same 1 KiB appends.
int GrowInThisProcess() {
  const quorvant::Bytes chunk = quorvant::BlankBytes(1024);
  quorvant::Bytes body;
  while (static_cast<std::size_t>(body.size()) < kBodySize) body.append(chunk.data(), chunk.size());
  return static_cast<std::size_t>(body.size()) == kBodySize ? EXIT_SUCCESS : EXIT_FAILURE;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == kFetchArgument) return FetchInThisProcess(argv[2]);
  if (argc == 2 && std::string(argv[1]) == kGrowArgument) return GrowInThisProcess();
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

  std::string block(kBlockSize, '\0');
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(i * 31 % 251);
  quorvant::loopback_http::Server server(
      [&block](const quorvant::loopback_http::Request&, quorvant::loopback_http::Reply& reply) {
        if (!reply.Send("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(kBodySize) +
                        "\r\n\r\n")) {
          return;
        }
        for (std::size_t sent = 0; sent < kBodySize; sent += kBlockSize) {
          if (!reply.Send(block)) return;
        }
      });
  const std::string url = server.Url("/body");
  const std::string self = "/proc/self/exe";

  std::vector<double> fetchTimes;
  std::vector<double> curlTimes;
  std::vector<double> growTimes;
  long fetchPeak = 0;
  long curlPeak = 0;
  for (int round = 0; round < rounds; ++round) {
    const Outcome fetch = RunProcess({self, kFetchArgument, url});
    const Outcome curl = RunProcess({"curl", "-s", "-o", "/dev/null", url});
    const Outcome grow = RunProcess({self, kGrowArgument});
    if (!fetch.succeeded || !curl.succeeded || !grow.succeeded) {
      std::fprintf(stderr, "a download failed (FetchPage %s, curl %s)\n",
                   fetch.succeeded ? "ok" : "failed", curl.succeeded ? "ok" : "failed");
      return EXIT_FAILURE;
    }
    fetchTimes.push_back(fetch.seconds);
    curlTimes.push_back(curl.seconds);
    growTimes.push_back(grow.seconds);
    fetchPeak = std::max(fetchPeak, fetch.peakKilobytes);
    curlPeak = std::max(curlPeak, curl.peakKilobytes);
  }

  const double fetchSeconds = Median(fetchTimes);
  const double curlSeconds = Median(curlTimes);
  const double bodyKilobytes = kBodySize / 1024.0;
  std::printf("64 MiB from loopback, median of %d rounds\n", rounds);
  std::printf("  FetchPage  %7.3f s  peak %7.1f MiB\n", fetchSeconds, fetchPeak / 1024.0);
  std::printf("  curl       %7.3f s  peak %7.1f MiB\n", curlSeconds, curlPeak / 1024.0);
  std::printf("  of FetchPage's time, holding the body whole (1 KiB appends, no network) %.3f s\n",
              Median(growTimes));
  std::printf("  time ratio FetchPage / curl   %.2f (goal <= 1.25)\n", fetchSeconds / curlSeconds);
  std::printf("  peak memory / body size       %.2f (goal <= 2.00)\n", fetchPeak / bodyKilobytes);
  return EXIT_SUCCESS;
}
