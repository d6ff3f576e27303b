#include "json/json_document.h"
#include "json/script_literal.h"
#include "text/text_operations.h"

// The operations that set members, change arrays and replace the root.
namespace quorvant {
namespace {

// A value given with isObject true is script; any other is the text itself.
Text ValueScript(const Text& value, bool isObject) {
  return isObject ? value : ScriptStringLiteral(value);
}

}  // namespace

void JsonDocument::SetValue(const Text& key, const Text& value, bool isObject) {
  if (isObject) {
    Run(DotTarget(key) + "= eval(" + (value.empty() ? Text("{}") : value) + ")");
  } else {
    Run(DotTarget(key) + "=" + ScriptStringLiteral(value));
  }
}

void JsonDocument::SetObject(const Text& key, const Text& value) {
  Run(DotTarget(key) + "= eval(" + value + ")");
}

void JsonDocument::SetNumber(const Text& key, double number) {
  Run(DotTarget(key) + "=" + NumberToText(number));
}

void JsonDocument::Append(const Text& value, const Text& path, bool isObject) {
  const Text target = TargetOf(path);
  Run("if (Object.prototype.toString.call(" + target + ") != '[object Array]') { " + target +
      "=new Array();} " + target + ".push(" + ValueScript(value, isObject) + ")");
}

void JsonDocument::SetItem(std::int32_t index, const Text& value, bool isObject) {
  Run(varName_ + "[" + NumberToText(index) + "]=" + ValueScript(value, isObject));
}

void JsonDocument::RemoveItem(std::int32_t index) {
  Run(varName_ + ".splice(" + NumberToText(index) + ",1)");
}

void JsonDocument::NewRoot(std::int32_t type) {
  if (type == kNull || type == kObject) {
    engine_.Eval("var " + varName_ + "={}", ResultKind::kNumber);
  } else if (type == kArray) {
    engine_.Eval("var " + varName_ + "=new Array()", ResultKind::kNumber);
  }
}

void JsonDocument::SetRoot(const Text& value, bool isObject) {
  engine_.Eval(varName_ + "=" + ValueScript(value, isObject), ResultKind::kTruth);
}

void JsonDocument::Clear() {
  Run(varName_ + "={}");
}

}  // namespace quorvant
