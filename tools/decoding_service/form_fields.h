#pragma once

#include <map>
#include <string>
#include <string_view>

namespace quorvant::decoding_service {

// Decodes one name or value the way a PHP form reader does: "+" is a space, "%" and two hex
// digits (either case) a byte; a "%" without two hex digits after it stays as it is.
std::string FormDecode(std::string_view encoded);

// The fields of an application/x-www-form-urlencoded text (a body or a query); a field without
// "=" has the empty value and a later field of the same name wins.
std::map<std::string, std::string> ParseFormFields(std::string_view form);

}  // namespace quorvant::decoding_service
