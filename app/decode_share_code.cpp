#include "app/decode_share_code.h"

#include <cstdint>

#include "json/json_document.h"
#include "text/encoding.h"
#include "text/text_operations.h"
#include "web/fetch_page.h"

namespace quorvant {
namespace {

// The service account's name, also its password, then the field that carries the code.
constexpr char kFormPrefix[] = "username=qorbex&password=qorbex&text=";
constexpr char kSuccessMarker[] = "调用成功";
constexpr char kSuccessHint[] = "提示：解密成功";
constexpr char kFailureHint[] = "提示：解密失败";
constexpr char kFailureText[] = "淘口令解密失败，请确认输入的淘口令是否正确";
constexpr std::int32_t kPost = 1;

// The busy cursor for as long as the decode blocks the window, put back on every way out.
class BusyCursor {
 public:
  explicit BusyCursor(Controls& window) : window_(window) { window_.ShowBusyCursor(true); }
  ~BusyCursor() { window_.ShowBusyCursor(false); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  Controls& window_;
};

}  // namespace

void DecodeShareCode(Controls& window, const Text& decodeEndpoint) {
  const BusyCursor busy(window);
  JsonDocument document;
  const Text code = window.ReadEdit(Control::编辑框_淘口令);
  const Text body = kFormPrefix + UrlEncode(code, false, true);
  const Bytes answer = FetchPage(decodeEndpoint, kPost, body);
  document.Parse(BytesToText(answer));
  if (document.GetText("ret") == kSuccessMarker) {
    window.WriteEdit(Control::编辑框_解密后, document.GetText("url"));
    window.WriteCaption(Control::标签_复制提示, kSuccessHint);
  } else {
    window.WriteEdit(Control::编辑框_解密后, kFailureText);
    window.WriteCaption(Control::标签_复制提示, kFailureHint);
  }
  window.SetVisible(Control::标签_复制提示, true);
}

}  // namespace quorvant
