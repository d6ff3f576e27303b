#include "json/script_host.h"

namespace quorvant {
namespace {

struct ThreadSettings {
  std::int32_t timeBudget = kDefaultScriptTimeBudget;
  bool enginesAvailable = true;
};

ThreadSettings& Settings() {
  thread_local ThreadSettings settings;
  return settings;
}

}  // namespace

void SetScriptTimeBudget(std::int32_t milliseconds) {
  Settings().timeBudget = milliseconds;
}

std::int32_t ScriptTimeBudget() {
  return Settings().timeBudget;
}

void SetScriptEnginesAvailable(bool available) {
  Settings().enginesAvailable = available;
}

bool ScriptEnginesAvailable() {
  return Settings().enginesAvailable;
}

}  // namespace quorvant
