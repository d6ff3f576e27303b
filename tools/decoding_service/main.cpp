// quorvant-decoding-service [--port N] [--fault MODE]: the stand-in decoding service as a
// program. It prints the port it listens on, then serves until it is killed.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <thread>

#include "tools/decoding_service/decoding_service.h"

namespace {

using quorvant::decoding_service::DecodingService;
using quorvant::decoding_service::FaultModeNamed;
using quorvant::decoding_service::ServiceOptions;

int Usage() {
  std::fputs(
      "usage: quorvant-decoding-service [--port N] [--fault MODE]\n"
      "  --port N      listen on 127.0.0.1:N (default: a free port)\n"
      "  --fault MODE  none, html-error, raw-utf8-marker, no-url, endless-script, huge-body,\n"
      "                stall, close-mid-body\n",
      stderr);
  return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
  ServiceOptions options;
  long port = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string_view option = argv[i];
    if (i + 1 >= argc) return Usage();
    const char* value = argv[++i];
    if (option == "--port") {
      char* end = nullptr;
      port = std::strtol(value, &end, 10);
      if (*value == '\0' || *end != '\0' || port < 0 || port > 65535) return Usage();
    } else if (option == "--fault") {
      const auto fault = FaultModeNamed(value);
      if (!fault) return Usage();
      options.fault = *fault;
    } else {
      return Usage();
    }
  }
  DecodingService service(options, static_cast<std::uint16_t>(port));
  if (service.Port() == 0) {
    std::fprintf(stderr, "quorvant-decoding-service: cannot listen on 127.0.0.1:%ld\n", port);
    return 1;
  }
  std::printf("%u\n", static_cast<unsigned>(service.Port()));
  std::fflush(stdout);
  for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
}
