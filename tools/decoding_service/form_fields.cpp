#include "tools/decoding_service/form_fields.h"

#include <algorithm>

namespace quorvant::decoding_service {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string FormDecode(std::string_view encoded) {
  std::string decoded;
  decoded.reserve(encoded.size());
  for (std::size_t i = 0; i < encoded.size(); ++i) {
    const char c = encoded[i];
    if (c == '+') {
      decoded += ' ';
    } else if (c == '%' && i + 2 < encoded.size() && HexValue(encoded[i + 1]) >= 0 &&
               HexValue(encoded[i + 2]) >= 0) {
      decoded += static_cast<char>(HexValue(encoded[i + 1]) * 16 + HexValue(encoded[i + 2]));
      i += 2;
    } else {
      decoded += c;
    }
  }
  return decoded;
}

std::map<std::string, std::string> ParseFormFields(std::string_view form) {
  std::map<std::string, std::string> fields;
  while (!form.empty()) {
    const std::size_t end = std::min(form.find('&'), form.size());
    const std::string_view field = form.substr(0, end);
    form.remove_prefix(std::min(end + 1, form.size()));
    if (field.empty()) continue;
    const std::size_t equals = field.find('=');
    if (equals == std::string_view::npos) {
      fields[FormDecode(field)] = std::string();
    } else {
      fields[FormDecode(field.substr(0, equals))] = FormDecode(field.substr(equals + 1));
    }
  }
  return fields;
}

}  // namespace quorvant::decoding_service
