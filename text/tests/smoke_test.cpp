#include <gtest/gtest.h>

#include "text/encoding.h"
#include "text/text_operations.h"

namespace quorvant {
namespace {

TEST(TextSmoke, FindsAndEncodes) {
  EXPECT_EQ(FindText("abcabc", "c"), 3);
  EXPECT_EQ(UrlEncode("中", false, true), Text("%E4%B8%AD"));
  EXPECT_EQ(UrlEncode("中"), Text("%D6%D0"));
}

}  // namespace
}  // namespace quorvant
