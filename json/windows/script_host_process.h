#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "json/windows/script_protocol.h"

namespace quorvant {

// A script host: this same executable started as a child process that holds one script engine
// and answers requests over two pipes. Keeping the engine in a process of its own is what lets
// a script that never ends be stopped: the engine offers no sound way to interrupt it, but the
// process can be ended whole.
class ScriptHostProcess {
 public:
  // Milliseconds of the system's tick count.
  using Deadline = ULONGLONG;

  struct Reply {
    bool ok = false;
    bool truth = false;
    double number = 0;
    std::wstring text;
  };

  // Null when the process could not be started or could not create its engine.
  static std::unique_ptr<ScriptHostProcess> Start();
  // The host ends by itself once its request pipe closes.
  ~ScriptHostProcess();
  ScriptHostProcess(const ScriptHostProcess&) = delete;
  ScriptHostProcess& operator=(const ScriptHostProcess&) = delete;

  // One request and its reply. Nothing when the host did not answer by the deadline, in which
  // case it is ended, or when it has gone; after that every call answers nothing.
  std::optional<Reply> Call(script_protocol::Operation operation, std::uint32_t kind,
                            const std::wstring& code, Deadline deadline);
  // False once the host has ended or been ended.
  bool alive() const;
  // Replaces the engine by a new one, as in a host that has just started. False when the host
  // could not, or has gone.
  bool Renew();

 private:
  ScriptHostProcess(HANDLE process, HANDLE requests, HANDLE replies, HANDLE replyReady);
  std::optional<Reply> ReadReply(Deadline deadline);
  bool ReadExact(void* buffer, std::size_t size, Deadline deadline);
  void End();

  HANDLE process_;
  HANDLE requests_;
  HANDLE replies_;
  HANDLE replyReady_;
  bool ended_ = false;
};

}  // namespace quorvant
