#pragma once

#include "text/text.h"

namespace quorvant {

// The addresses the window works with. The program gets them compiled in; tests hand the window
// others when they construct it.
struct AppSettings {
  // HomePageUrl: the publisher's home page, opened on close and by the hyperlink.
  Text homePageUrl;
  // The hyperlink's caption: the site name followed by the home page's host in square brackets.
  Text hyperlinkCaption;
  // DecodeEndpoint: the decoding service's API address.
  Text decodeEndpoint;
};

// The site name, "[", the host, "]".
Text HyperlinkCaption(const Text& siteName, const Text& host);

// The addresses chosen when the program was built.
AppSettings CompiledSettings();

}  // namespace quorvant
