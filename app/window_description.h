#pragma once

#include <array>
#include <cstdint>

#include "app/app_settings.h"
#include "app/control.h"
#include "text/text.h"

// The main window as data: what every platform's toolkit builds.
namespace quorvant {

struct Size {
  std::int32_t width = 0;
  std::int32_t height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// Client-area pixels.
struct Bounds {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  friend bool operator==(const Bounds&, const Bounds&) = default;
};

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct ControlDescription {
  Control control{};
  ControlKind kind{};
  Bounds bounds;
  // A label's or button's caption, an edit box's content, the hyperlink's caption.
  Text text;
  bool visible = true;
  bool enabled = true;
  bool tabStop = false;
  Rgb textColour;
  ControlEvent event = ControlEvent::kNone;
  Handler handler = Handler::kNone;
  // The hyperlink's address; empty for every other kind.
  Text target;
};

struct HyperlinkColours {
  Rgb normal;
  Rgb hover;
  Rgb visited;
};

struct WindowDescription {
  Text caption;
  // Frame and title bar included; the window is centred by this size.
  Size outerSize;
  // The outer size less the fixed frame (3 px each side) and the title bar (26 px).
  Size clientSize;
  HyperlinkColours hyperlinkColours;
  // In stacking order, top first. Toolkits create them last first, which is also the Tab order.
  std::array<ControlDescription, kControlCount> controls;
};

WindowDescription MainWindowDescription(const AppSettings& settings);

const ControlDescription& DescriptionOf(const WindowDescription& window, Control control);
// The description must outlive the reference.
const ControlDescription& DescriptionOf(const WindowDescription&& window, Control control) = delete;

}  // namespace quorvant
