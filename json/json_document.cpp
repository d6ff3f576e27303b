#include "json/json_document.h"

#include "json/json_script.h"
#include "text/text_operations.h"

// Life cycle, loading and the whole-document text.
namespace quorvant {

JsonDocument::JsonDocument() {
  varName_ = "da";
  Initialize();
}

// A copy makes its own COM initialisation, so that the one its destruction undoes is its own
// and copies never take the thread's count below where it stood.
JsonDocument::JsonDocument(const JsonDocument& other)
    : varName_(other.varName_), engine_(other.engine_), comInitialized_(true) {
  InitializeCom();
}

JsonDocument& JsonDocument::operator=(const JsonDocument& other) {
  varName_ = other.varName_;
  engine_ = other.engine_;
  return *this;
}

JsonDocument::~JsonDocument() {
  engine_.Release();
  if (comInitialized_) UninitializeCom();
}

void JsonDocument::Initialize() {
  if (!comInitialized_) {
    InitializeCom();
    comInitialized_ = true;
  }
  if (ScriptHost created = ScriptHost::Create(); !created.empty()) engine_ = created;
  engine_.SetLanguage("JavaScript");
  engine_.AddCode(JsonScript());
  Run("var " + varName_ + "={}");
}

bool JsonDocument::Parse(const Text& text) {
  if (!engine_.empty()) {
    engine_.Release();
    Initialize();
  }
  if (engine_.empty()) return false;
  Run("var " + varName_ + "=null");
  engine_.AddCode("var " + varName_ + "=eval(" + text + ")");
  return engine_.Eval("null !=" + varName_, ResultKind::kTruth).truth;
}

Text JsonDocument::ToText() const {
  return EvalText("JSON.stringify(" + varName_ + ")");
}

Text JsonDocument::BracketTarget(const Text& path) const {
  return LeftOf(path, 1) == "[" ? varName_ + path : varName_ + "." + path;
}

Text JsonDocument::DotTarget(const Text& key) const {
  return varName_ + "." + key;
}

Text JsonDocument::TargetOf(const Text& path) const {
  return path.empty() ? varName_ : varName_ + "." + path;
}

void JsonDocument::Run(const Text& code) const {
  engine_.Eval(code, ResultKind::kNone);
}

Text JsonDocument::EvalText(const Text& code) const {
  return engine_.Eval(code, ResultKind::kText).text;
}

}  // namespace quorvant
