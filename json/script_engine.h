#pragma once

#include "json/script_host.h"

namespace quorvant {

// One engine of the platform, shared by the hosts that refer to it.
class ScriptEngine {
 public:
  virtual ~ScriptEngine() = default;
  virtual bool SetLanguage(const Text& language) = 0;
  virtual bool AddCode(const Text& code) = 0;
  virtual ScriptResult Eval(const Text& code, ResultKind kind) = 0;
};

}  // namespace quorvant
