#include "tools/decoding_service/fault_mode.h"

#include <utility>

namespace quorvant::decoding_service {
namespace {

constexpr std::pair<FaultMode, std::string_view> kNames[] = {
    {FaultMode::kNone, "none"},
    {FaultMode::kHtmlError, "html-error"},
    {FaultMode::kRawUtf8Marker, "raw-utf8-marker"},
    {FaultMode::kNoUrl, "no-url"},
    {FaultMode::kEndlessScript, "endless-script"},
    {FaultMode::kHugeBody, "huge-body"},
    {FaultMode::kStall, "stall"},
    {FaultMode::kCloseMidBody, "close-mid-body"},
};

}  // namespace

std::string_view NameOf(FaultMode mode) {
  for (const auto& [known, name] : kNames) {
    if (known == mode) return name;
  }
  return {};
}

std::optional<FaultMode> FaultModeNamed(std::string_view name) {
  for (const auto& [mode, known] : kNames) {
    if (known == name) return mode;
  }
  return std::nullopt;
}

}  // namespace quorvant::decoding_service
