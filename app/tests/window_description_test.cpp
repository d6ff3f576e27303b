#include <gtest/gtest.h>

#include "app/app_settings.h"
#include "app/window_description.h"
#include "text/tests/text_printers.h"
#include "text/text_operations.h"

namespace quorvant {
namespace {

TEST(WindowDescription, LooksControlsUpByName) {
  const WindowDescription window = MainWindowDescription({});
  for (std::size_t i = 0; i < kControlCount; ++i) {
    const auto control = static_cast<Control>(i);
    SCOPED_TRACE(i);
    EXPECT_EQ(DescriptionOf(window, control).control, control);
  }
}

TEST(WindowDescription, HyperlinkComesFromTheSettings) {
  const AppSettings settings{"https://site.test/home", HyperlinkCaption("站点", "site.test"), {}};
  const WindowDescription window = MainWindowDescription(settings);
  const ControlDescription& link = DescriptionOf(window, Control::超级链接框1);
  EXPECT_EQ(link.text, Text("站点[site.test]"));
  EXPECT_EQ(link.target, settings.homePageUrl);
}

// The build fills these in; whatever was chosen, their form is fixed.
TEST(CompiledSettings, HaveTheirFixedForm) {
  const AppSettings settings = CompiledSettings();
  EXPECT_EQ(FindText(settings.homePageUrl, "https://"), 1);
  const Text& caption = settings.hyperlinkCaption;
  const std::int32_t open = FindTextReverse(caption, "[");
  ASSERT_GT(open, 0);
  EXPECT_EQ(RightOf(caption, 1), "]");
  const Text host = MidOf(caption, open + 1, caption.size() - open - 1);
  EXPECT_EQ(FindText(settings.homePageUrl, "https://" + host), 1);
  EXPECT_EQ(FindText(settings.decodeEndpoint, "http://"), 1);
  const Text query = "/index.php?m=api&a=taokoulingjm";
  EXPECT_EQ(RightOf(settings.decodeEndpoint, query.size()), query);
  EXPECT_EQ(FindText(settings.decodeEndpoint, ":", 6), -1) << "no port";
}

}  // namespace
}  // namespace quorvant
