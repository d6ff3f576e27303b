// The script seam over the Microsoft Script Control. Each engine lives in a script host process
// of its own (json/windows/script_host_process.h): a call that overruns the time budget ends
// that process, and the engine comes back in a new one that replays the calls it had completed,
// so the engine stays usable as it would after an interruption.
#include <windows.h>

#include <objbase.h>

#include <cstring>
#include <cwchar>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "json/script_engine.h"
#include "json/script_host.h"
#include "json/windows/script_control.h"
#include "json/windows/script_host_process.h"
#include "json/windows/script_protocol.h"
#include "text/encoding.h"
#include "text/text_operations.h"

namespace quorvant {
namespace {

using script_protocol::Operation;

// An executable started as a script host serves its parent and ends here, before its own main
// runs: the program needs no second executable for its engines.
struct ScriptHostEntry {
  ScriptHostEntry() {
    const std::wstring_view commandLine = GetCommandLineW();
    const std::wstring_view hostSwitch = script_protocol::kHostSwitch;
    if (commandLine.size() > hostSwitch.size() && commandLine.ends_with(hostSwitch) &&
        commandLine[commandLine.size() - hostSwitch.size() - 1] == L' ') {
      ExitProcess(static_cast<UINT>(ServeScriptRequests()));
    }
  }
} const gScriptHostEntry;

// What is kept of the completed calls, to bring an ended engine back; beyond it an engine that
// overruns its budget is lost instead.
constexpr std::size_t kJournalLimitUnits = 16u * 1024 * 1024;

std::wstring ToEngine(const Text& text) {
  const Bytes units = ToWide(text, kGbkCodePage);
  if (units.size() < 2) return {};
  std::wstring wide(static_cast<std::size_t>(units.size() / 2), L'\0');
  std::memcpy(wide.data(), units.data(), wide.size() * sizeof(wchar_t));
  wide.resize(std::wcslen(wide.c_str()));
  return wide;
}

Text FromEngine(const std::wstring& text) {
  if (text.empty()) return {};
  return FromWide(Bytes(text.c_str(), static_cast<std::int32_t>((text.size() + 1) * 2)),
                  kGbkCodePage);
}

// Hosts whose engines were released, each renewed with a new engine and kept for the next
// engine of this thread: starting a process costs far more than renewing its engine.
constexpr std::size_t kIdleHostLimit = 2;

std::vector<std::unique_ptr<ScriptHostProcess>>& IdleHosts() {
  thread_local std::vector<std::unique_ptr<ScriptHostProcess>> hosts;
  return hosts;
}

std::unique_ptr<ScriptHostProcess> TakeHost() {
  std::vector<std::unique_ptr<ScriptHostProcess>>& idle = IdleHosts();
  while (!idle.empty()) {
    std::unique_ptr<ScriptHostProcess> host = std::move(idle.back());
    idle.pop_back();
    if (host->alive()) return host;
  }
  return ScriptHostProcess::Start();
}

void GiveBack(std::unique_ptr<ScriptHostProcess> host) {
  std::vector<std::unique_ptr<ScriptHostProcess>>& idle = IdleHosts();
  if (host != nullptr && idle.size() < kIdleHostLimit && host->Renew()) {
    idle.push_back(std::move(host));
  }
}

bool IsJavaScript(const Text& language) {
  const Text name = ToLower(language);
  return name == "javascript" || name == "jscript";
}

}  // namespace

class ControlScriptEngine final : public ScriptEngine {
 public:
  ControlScriptEngine(std::unique_ptr<ScriptHostProcess> host, std::int32_t budgetMilliseconds)
      : host_(std::move(host)),
        budget_(budgetMilliseconds > 0 ? static_cast<ULONGLONG>(budgetMilliseconds) : 0) {}
  ~ControlScriptEngine() { GiveBack(std::move(host_)); }
  ControlScriptEngine(const ControlScriptEngine&) = delete;
  ControlScriptEngine& operator=(const ControlScriptEngine&) = delete;

  bool SetLanguage(const Text& language) override {
    if (!IsJavaScript(language)) return false;
    const auto reply = Request(Operation::kSetLanguage, ResultKind::kNone, ToEngine(language));
    languageSet_ = languageSet_ || (reply && reply->ok);
    return reply && reply->ok;
  }

  bool AddCode(const Text& code) override {
    if (!languageSet_ || code.size() > kMaxScriptLength) return false;
    const auto reply = Request(Operation::kAddCode, ResultKind::kNone, ToEngine(code));
    return reply && reply->ok;
  }

  ScriptResult Eval(const Text& code, ResultKind kind) override {
    if (!languageSet_ || code.size() > kMaxScriptLength) return {};
    const auto reply = Request(Operation::kEval, kind, ToEngine(code));
    if (!reply || !reply->ok) return {};
    return {FromEngine(reply->text), reply->number, reply->truth};
  }

 private:
  struct Call {
    Operation operation;
    ResultKind kind;
    std::wstring code;
  };

  std::optional<ScriptHostProcess::Reply> Request(Operation operation, ResultKind kind,
                                                  std::wstring code) {
    if (!Revive()) return std::nullopt;
    auto reply = host_->Call(operation, static_cast<std::uint32_t>(kind), code, Deadline());
    if (!reply) {
      // Overran its budget or crashed: the host is gone; the next call brings the engine back.
      host_.reset();
      return std::nullopt;
    }
    Record({operation, kind, std::move(code)});
    return reply;
  }

  // A new host that has run every completed call again holds the engine as it was. A replayed
  // call that no longer completes loses the engine for good; a host that cannot be started now
  // is tried again on the next call.
  bool Revive() {
    if (host_ != nullptr) return true;
    if (!replayable_) return false;
    host_ = TakeHost();
    if (host_ == nullptr) return false;
    for (const Call& call : journal_) {
      if (!host_->Call(call.operation, static_cast<std::uint32_t>(call.kind), call.code,
                       Deadline())) {
        host_.reset();
        Forget();
        return false;
      }
    }
    return true;
  }

  void Record(Call call) {
    if (!replayable_) return;
    journalUnits_ += call.code.size();
    if (journalUnits_ > kJournalLimitUnits) {
      // Too much to replay: the engine goes on, but would not survive an overrun.
      journal_.clear();
      journal_.shrink_to_fit();
      replayable_ = false;
      return;
    }
    journal_.push_back(std::move(call));
  }

  void Forget() {
    journal_.clear();
    replayable_ = false;
  }

  ScriptHostProcess::Deadline Deadline() const { return GetTickCount64() + budget_; }

  std::unique_ptr<ScriptHostProcess> host_;
  ULONGLONG budget_;
  bool languageSet_ = false;
  std::vector<Call> journal_;
  std::size_t journalUnits_ = 0;
  bool replayable_ = true;
};

ScriptHost ScriptHost::Create() {
  if (!ScriptEnginesAvailable()) return {};
  std::unique_ptr<ScriptHostProcess> host = TakeHost();
  if (host == nullptr) return {};
  return ScriptHost(std::make_shared<ControlScriptEngine>(std::move(host), ScriptTimeBudget()));
}

namespace {

thread_local std::int32_t comInitializations = 0;

}  // namespace

// Only initialisations made here are undone here: one more would take away the OLE
// initialisation that the window's thread made at start-up.
void InitializeCom() {
  if (SUCCEEDED(CoInitialize(nullptr))) ++comInitializations;
}

void UninitializeCom() {
  if (comInitializations == 0) return;
  CoUninitialize();
  --comInitializations;
}

std::int32_t ComInitializations() {
  return comInitializations;
}

}  // namespace quorvant
