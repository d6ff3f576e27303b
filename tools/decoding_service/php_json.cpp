#include "tools/decoding_service/php_json.h"

#include <cstdio>

namespace quorvant::decoding_service {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The code point that starts at text[at] and the bytes it takes; a byte that does not start a
// well-formed UTF-8 sequence counts as one replacement character.
std::pair<char32_t, std::size_t> NextCodePoint(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80) return {lead, 1};
  std::size_t length = 0;
  char32_t point = 0;
  char32_t smallest = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, point = lead & 0x1F, smallest = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, point = lead & 0x0F, smallest = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, point = lead & 0x07, smallest = 0x10000;
  } else {
    return {kReplacement, 1};
  }
  if (at + length > text.size()) return {kReplacement, 1};
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[at + i]);
    if ((next & 0xC0) != 0x80) return {kReplacement, 1};
    point = (point << 6) | (next & 0x3F);
  }
  if (point < smallest || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
    return {kReplacement, 1};
  }
  return {point, length};
}

void AppendUnitEscape(std::string& out, char32_t unit) {
  char escape[8];
  std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(unit));
  out += escape;
}

bool StandsForItself(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 0x20 && byte < 0x80 && c != '"' && c != '\\' && c != '/';
}

void AppendString(std::string& out, std::string_view text, NonAscii nonAscii) {
  out += '"';
  for (std::size_t at = 0; at < text.size();) {
    // Runs of plain ASCII go over whole; megabytes of padding would crawl one by one.
    std::size_t plain = at;
    while (plain < text.size() && StandsForItself(text[plain])) ++plain;
    out.append(text.substr(at, plain - at));
    at = plain;
    if (at == text.size()) break;
    const auto [point, length] = NextCodePoint(text, at);
    switch (point) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '/':
        out += "\\/";
        break;
      case '\b':
        out += "\\b";
        break;
      case '\f':
        out += "\\f";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (point < 0x20) {
          AppendUnitEscape(out, point);
        } else if (point < 0x80) {
          out += static_cast<char>(point);
        } else if (nonAscii == NonAscii::kRaw && length > 1) {
          out.append(text.substr(at, length));
        } else if (point > 0xFFFF) {
          AppendUnitEscape(out, 0xD800 + ((point - 0x10000) >> 10));
          AppendUnitEscape(out, 0xDC00 + ((point - 0x10000) & 0x3FF));
        } else {
          AppendUnitEscape(out, point);
        }
    }
    at += length;
  }
  out += '"';
}

}  // namespace

std::string EncodeJsonObject(std::span<const JsonMember> members, NonAscii nonAscii) {
  std::string out = "{";
  for (const JsonMember& member : members) {
    if (out.size() > 1) out += ',';
    AppendString(out, member.name, nonAscii);
    out += ':';
    if (const auto* text = std::get_if<std::string>(&member.value)) {
      AppendString(out, *text, nonAscii);
    } else {
      out += std::to_string(std::get<std::int64_t>(member.value));
    }
  }
  out += '}';
  return out;
}

}  // namespace quorvant::decoding_service
