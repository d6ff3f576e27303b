#include "tools/decoding_service/share_code_table.h"

#include "tools/decoding_service/utf8.h"

namespace quorvant::decoding_service {
namespace {

constexpr ShareCode kShareCodes[] = {
    {u8"《Rt8pWm2XcLs《", u8"https://item.shop.example/item.htm?id=652387104519&ut_sk=1.share"},
    {u8"￥Hn3yQf7JkEz￥", u8"https://m.shop.example/h.5Hn3yQf?sm=7f2a1c"},
    // A long link wraps in the result box; the Chinese search word travels as \u escapes.
    {u8"《Qm4vZt7NbWd《",
     u8"https://search.shop.example/search?q=连衣裙&tab=mall&sort=sale-desc"
     u8"&filter=reserve_price%5B100%2C300%5D&spm=a21bo.jianhua.201867-main.3"},
};

}  // namespace

std::span<const ShareCode> KnownShareCodes() {
  return kShareCodes;
}

std::optional<std::string> LinkOfPastedText(std::string_view pastedUtf8) {
  for (const ShareCode& entry : kShareCodes) {
    if (pastedUtf8.find(Utf8(entry.code)) != std::string_view::npos) {
      return Utf8(entry.link);
    }
  }
  return std::nullopt;
}

}  // namespace quorvant::decoding_service
