#include "json/windows/script_control.h"

#include <cstdint>
#include <memory>
#include <optional>

#include "json/script_host.h"
#include "json/windows/script_protocol.h"

namespace quorvant {
namespace {

using script_protocol::Operation;
using script_protocol::ReplyHeader;
using script_protocol::RequestHeader;

// Scripts run here must reach nothing outside the engine; these two globals of the engine
// create or fetch system objects (files, processes, the network) by name.
constexpr wchar_t kRemoveHostObjects[] = L"ActiveXObject = undefined; GetObject = undefined;";

// Owns one VARIANT.
class Variant {
 public:
  Variant() { VariantInit(&value_); }
  ~Variant() { VariantClear(&value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;

  VARIANT* get() { return &value_; }
  const VARIANT& value() const { return value_; }

 private:
  VARIANT value_;
};

VARIANT BoolVariant(bool value) {
  VARIANT variant;
  VariantInit(&variant);
  variant.vt = VT_BOOL;
  variant.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  return variant;
}

VARIANT LongVariant(LONG value) {
  VARIANT variant;
  VariantInit(&variant);
  variant.vt = VT_I4;
  variant.lVal = value;
  return variant;
}

DISPID IdOf(IDispatch* dispatch, const wchar_t* name) {
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  if (FAILED(dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) {
    return DISPID_UNKNOWN;
  }
  return id;
}

bool ReadExact(HANDLE pipe, void* buffer, std::size_t size) {
  auto* bytes = static_cast<char*>(buffer);
  while (size > 0) {
    DWORD read = 0;
    const DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
    if (!ReadFile(pipe, bytes, chunk, &read, nullptr) || read == 0) return false;
    bytes += read;
    size -= read;
  }
  return true;
}

bool WriteExact(HANDLE pipe, const void* buffer, std::size_t size) {
  const auto* bytes = static_cast<const char*>(buffer);
  while (size > 0) {
    DWORD written = 0;
    const DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
    if (!WriteFile(pipe, bytes, chunk, &written, nullptr) || written == 0) return false;
    bytes += written;
    size -= written;
  }
  return true;
}

struct Reply {
  bool ok = false;
  bool truth = false;
  double number = 0;
  std::wstring text;
};

bool SendReply(HANDLE pipe, const Reply& reply) {
  const ReplyHeader header{reply.ok ? 1u : 0u, reply.truth ? 1u : 0u, reply.number,
                           static_cast<std::uint32_t>(reply.text.size()), 0};
  return WriteExact(pipe, &header, sizeof header) &&
         WriteExact(pipe, reply.text.data(), reply.text.size() * sizeof(wchar_t));
}

// The value converted by the system's variant conversion, as the kind asks.
void Convert(const VARIANT& value, ResultKind kind, Reply& reply) {
  Variant converted;
  switch (kind) {
    case ResultKind::kText:
      if (SUCCEEDED(VariantChangeType(converted.get(), const_cast<VARIANT*>(&value), 0, VT_BSTR))) {
        const BSTR text = converted.value().bstrVal;
        reply.text.assign(text, SysStringLen(text));
      }
      break;
    case ResultKind::kNumber:
      if (SUCCEEDED(VariantChangeType(converted.get(), const_cast<VARIANT*>(&value), 0, VT_R8))) {
        reply.number = converted.value().dblVal;
      }
      break;
    case ResultKind::kTruth:
      if (SUCCEEDED(VariantChangeType(converted.get(), const_cast<VARIANT*>(&value), 0, VT_BOOL))) {
        reply.truth = converted.value().boolVal != VARIANT_FALSE;
      }
      break;
    case ResultKind::kNone:
    case ResultKind::kUntyped:
      break;
  }
}

Reply Serve(ScriptControl& control, const RequestHeader& request, const std::wstring& code) {
  Reply reply;
  switch (request.operation) {
    case Operation::kSetLanguage: {
      VARIANT language;
      VariantInit(&language);
      language.vt = VT_BSTR;
      language.bstrVal = SysAllocStringLen(code.data(), static_cast<UINT>(code.size()));
      reply.ok = control.PutProperty(L"Language", language) &&
                 control.Call(L"AddCode", kRemoveHostObjects, nullptr);
      VariantClear(&language);
      break;
    }
    case Operation::kAddCode:
      reply.ok = control.Call(L"AddCode", code, nullptr);
      break;
    case Operation::kRenew:  // the request loop renews the control it owns
      break;
    case Operation::kEval: {
      Variant result;
      reply.ok = control.Call(L"Eval", code, result.get());
      if (reply.ok) Convert(result.value(), static_cast<ResultKind>(request.kind), reply);
      break;
    }
  }
  return reply;
}

}  // namespace

ScriptControl::ScriptControl() {
  CLSID id;
  if (FAILED(CLSIDFromProgID(L"MSScriptControl.ScriptControl", &id))) return;
  if (FAILED(CoCreateInstance(id, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                              reinterpret_cast<void**>(&control_)))) {
    control_ = nullptr;
  }
}

ScriptControl::~ScriptControl() {
  if (control_ != nullptr) control_->Release();
}

bool ScriptControl::PutProperty(const wchar_t* name, const VARIANT& value) {
  if (control_ == nullptr) return false;
  const DISPID id = IdOf(control_, name);
  if (id == DISPID_UNKNOWN) return false;
  VARIANT argument = value;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS parameters{&argument, &named, 1, 1};
  return SUCCEEDED(control_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT,
                                    &parameters, nullptr, nullptr, nullptr));
}

bool ScriptControl::Call(const wchar_t* method, const std::wstring& argument, VARIANT* result) {
  if (control_ == nullptr) return false;
  const DISPID id = IdOf(control_, method);
  if (id == DISPID_UNKNOWN) return false;
  Variant text;
  text.get()->vt = VT_BSTR;
  text.get()->bstrVal = SysAllocStringLen(argument.data(), static_cast<UINT>(argument.size()));
  if (text.get()->bstrVal == nullptr) return false;
  DISPPARAMS parameters{text.get(), nullptr, 1, 0};
  EXCEPINFO exception{};
  const HRESULT outcome = control_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                           &parameters, result, &exception, nullptr);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  return SUCCEEDED(outcome);
}

// A new control, set up so that the program keeps the time budget itself: the control must
// neither stop a script on its own clock nor ask anyone about one, and it creates only objects
// that are safe for scripting. Null when the control cannot be created.
std::unique_ptr<ScriptControl> NewControl() {
  auto control = std::make_unique<ScriptControl>();
  if (!control->created()) return nullptr;
  control->PutProperty(L"AllowUI", BoolVariant(false));
  control->PutProperty(L"Timeout", LongVariant(-1));
  control->PutProperty(L"UseSafeSubset", BoolVariant(true));
  return control;
}

int ServeScriptRequests() {
  // A crash ends this process quietly; the program sees the engine gone.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  if (FAILED(CoInitialize(nullptr))) return 1;
  {
    std::unique_ptr<ScriptControl> control = NewControl();
    Reply hello;
    hello.ok = control != nullptr;
    if (SendReply(output, hello) && control != nullptr) {
      RequestHeader request;
      std::wstring code;
      while (ReadExact(input, &request, sizeof request)) {
        code.resize(request.units);
        if (!ReadExact(input, code.data(), code.size() * sizeof(wchar_t))) break;
        Reply reply;
        if (request.operation == Operation::kRenew) {
          control.reset();
          control = NewControl();
          reply.ok = control != nullptr;
        } else {
          reply = Serve(*control, request, code);
        }
        if (!SendReply(output, reply) || control == nullptr) break;
      }
      // The program has gone or let the engine go. Nothing here needs an orderly end, and
      // tearing the engine down could keep the process (and the program's error output, which
      // it shares) alive for a while.
      TerminateProcess(GetCurrentProcess(), 0);
    }
  }
  CoUninitialize();
  return 0;
}

}  // namespace quorvant
