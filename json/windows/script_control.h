#pragma once

#include <windows.h>

#include <oleauto.h>

#include <string>

// The script control, created from its ProgID and driven by name through its automation
// interface. It lives in the script host process, on a thread initialised for COM.
namespace quorvant {

class ScriptControl {
 public:
  ScriptControl();
  ~ScriptControl();
  ScriptControl(const ScriptControl&) = delete;
  ScriptControl& operator=(const ScriptControl&) = delete;

  bool created() const { return control_ != nullptr; }

  bool PutProperty(const wchar_t* name, const VARIANT& value);
  // Calls a method with one text argument; `result` may be null when none is wanted.
  bool Call(const wchar_t* method, const std::wstring& argument, VARIANT* result);

 private:
  IDispatch* control_ = nullptr;
};

// Answers the program's requests on standard input and output until the program closes its
// end; returns the process's exit code.
int ServeScriptRequests();

}  // namespace quorvant
