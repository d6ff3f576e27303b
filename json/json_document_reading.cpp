#include <cmath>
#include <limits>

#include "json/json_document.h"
#include "text/text_operations.h"

// The operations that read members, count and list them, and cut them out into documents.
namespace quorvant {
namespace {

// The real truncated toward zero; 0 where no integer stands for it.
std::int32_t TruncatedInteger(double number) {
  const double truncated = std::trunc(number);
  if (!(truncated >= std::numeric_limits<std::int32_t>::min() &&
        truncated <= std::numeric_limits<std::int32_t>::max())) {
    return 0;
  }
  return static_cast<std::int32_t>(truncated);
}

// Names travel joined by commas; a comma or percent sign inside a name is escaped on the way.
Text UnescapedName(const Text& name) {
  return ReplaceText(ReplaceText(name, "%2C", ",", std::nullopt, std::nullopt, true), "%25", "%",
                     std::nullopt, std::nullopt, true);
}

}  // namespace

double JsonDocument::GetNumber(const Text& key) const {
  return engine_.Eval(DotTarget(key), ResultKind::kNumber).number;
}

Text JsonDocument::GetJson(const Text& key) const {
  return EvalText("JSON.stringify(" + DotTarget(key) + ")");
}

Text JsonDocument::GetText(const Text& path, bool asJson) const {
  if (asJson) return EvalText("JSON.stringify(" + BracketTarget(path) + ")");
  if (engine_.empty()) return {};
  if (TypeOf(path) == kNumber) return NumberToText(GetNumber(path));
  return EvalText(BracketTarget(path));
}

JsonDocument JsonDocument::SubDocument(const Text& path) const {
  JsonDocument part;
  part.Parse(EvalText("JSON.stringify(" + BracketTarget(path) + ")"));
  return part;
}

std::int32_t JsonDocument::Count(const Text& path) const {
  const Text target = path.empty() ? varName_ : BracketTarget(path);
  return TruncatedInteger(engine_.Eval("get__count(" + target + ")", ResultKind::kNumber).number);
}

JsonDocument JsonDocument::ItemDocument(std::int32_t index, const Text& path) const {
  JsonDocument item;
  item.Parse(EvalText("JSON.stringify(" + TargetOf(path) + "[" + NumberToText(index) + "])"));
  return item;
}

Text JsonDocument::GetItem(std::int32_t index, const Text& path, bool asJson) const {
  const Text element = TargetOf(path) + "[" + NumberToText(index) + "]";
  return EvalText(asJson ? "JSON.stringify(" + element + ")" : element);
}

bool JsonDocument::Has(const Text& key) const {
  return engine_.Eval(DotTarget(key) + " !=null", ResultKind::kTruth).truth;
}

// Leaves out only the two helper members that every object inherits, and escapes each name so
// that the joined list splits back into the names as they are.
std::int32_t JsonDocument::MemberNames(TextArray& names, const Text& path) const {
  const Text target = TargetOf(path);
  const Text joined = EvalText(
      "var ary=''; for (var key in " + target +
      ") {if ((key=='toJSONString' || key=='parseJSON') && "
      "!Object.prototype.hasOwnProperty.call(" +
      target + ", key)) continue; ary=ary+ key.replace(/%/g,'%25').replace(/,/g,'%2C')+','; } ary");
  engine_.Eval("ary=null", ResultKind::kUntyped);
  TextArray found;
  for (const Text& name : SplitText(joined, ",")) found.Append(UnescapedName(name));
  names = found;
  return names.count();
}

std::int32_t JsonDocument::TypeOf(const Text& path) const {
  const Text target = TargetOf(path);
  if (engine_.Eval(target + "==null", ResultKind::kTruth).truth) return kNull;
  const Text type = EvalText("typeof (" + target + ")");
  if (type == "string") return kString;
  if (type == "number") return kNumber;
  if (type == "object") {
    return LeftOf(EvalText("JSON.stringify(" + target + ")"), 1) == "[" ? kArray : kObject;
  }
  return kOther;
}

}  // namespace quorvant
