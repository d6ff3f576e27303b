#include "json/script_host.h"

#include "json/script_engine.h"

#include <atomic>

namespace quorvant {
namespace {

std::atomic<std::int32_t> liveEngines{0};

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

class ScriptHost::Alive {
 public:
  Alive() { ++liveEngines; }
  ~Alive() { --liveEngines; }
  Alive(const Alive&) = delete;
  Alive& operator=(const Alive&) = delete;
};

ScriptHost::ScriptHost(std::shared_ptr<ScriptEngine> engine)
    : engine_(std::move(engine)), alive_(engine_ ? std::make_shared<Alive>() : nullptr) {}

bool ScriptHost::SetLanguage(const Text& language) const {
  return engine_ != nullptr && engine_->SetLanguage(language);
}

bool ScriptHost::AddCode(const Text& code) const {
  return engine_ != nullptr && engine_->AddCode(code);
}

ScriptResult ScriptHost::Eval(const Text& code, ResultKind kind) const {
  if (engine_ == nullptr) return {};
  return engine_->Eval(code, kind);
}

std::int32_t LiveScriptEngines() {
  return liveEngines;
}

}  // namespace quorvant
