#pragma once

#include <cstdint>
#include <memory>

#include "text/text.h"

// The script seam: one JavaScript engine per host, reached through the few operations the
// document needs. Texts cross it in code page 936. Every call on an empty host, every script that
// does not compile, throws, or overruns the time budget yields the zero of the kind asked for.
namespace quorvant {

// What an evaluation is asked to give back.
enum class ResultKind {
  kNone,     // nothing
  kText,     // the value's text form
  kNumber,   // the value as a real number
  kTruth,    // whether the value converts to non-zero
  kUntyped,  // the value as it is, taken and dropped by the caller
};

// The answer of one evaluation in the kind asked for; members of other kinds stay zero.
struct ScriptResult {
  Text text;
  double number = 0;
  bool truth = false;
};

class ScriptEngine;

// A counted reference to one engine, or empty. Copies share the engine, which ends with its last
// reference. An engine gets no host objects: no file, network, process or console access.
class ScriptHost {
 public:
  ScriptHost() = default;

  // A new engine with the calling thread's time budget; empty when none can be made.
  static ScriptHost Create();

  bool empty() const { return engine_ == nullptr; }
  void Release() {
    engine_.reset();
    alive_.reset();
  }

  // Must name JavaScript before any code runs.
  bool SetLanguage(const Text& language) const;
  // Runs code at global scope; its declarations persist. False when it fails.
  bool AddCode(const Text& code) const;
  // Runs statements or an expression; the result is the value of the last statement.
  ScriptResult Eval(const Text& code, ResultKind kind) const;

 private:
  // Counts the engine among the live ones until its last reference goes.
  class Alive;
  explicit ScriptHost(std::shared_ptr<ScriptEngine> engine);

  std::shared_ptr<ScriptEngine> engine_;
  std::shared_ptr<Alive> alive_;
};

// Engines that exist now, over the whole process; for tests.
std::int32_t LiveScriptEngines();

// The longest code, in bytes, that AddCode and Eval take: compiling cannot be interrupted, and
// longer code would run past any budget. Longer code fails.
inline constexpr std::int32_t kMaxScriptLength = 16 * 1024 * 1024;

// How long, in milliseconds, one AddCode or Eval may run before it is stopped and fails.
inline constexpr std::int32_t kDefaultScriptTimeBudget = 10000;

// Settings of the calling thread, read when an engine is created. Tests shorten the budget and
// play a system whose script engine cannot be created.
void SetScriptTimeBudget(std::int32_t milliseconds);
std::int32_t ScriptTimeBudget();
void SetScriptEnginesAvailable(bool available);
bool ScriptEnginesAvailable();

// COM initialisation of the calling thread, and the net count of initialisations made through
// these two calls on it (a plain counter where there is no COM).
void InitializeCom();
void UninitializeCom();
std::int32_t ComInitializations();

}  // namespace quorvant
