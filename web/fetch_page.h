#pragma once

#include <cstdint>

#include "text/text.h"
#include "web/in_out.h"

// One synchronous HTTP or HTTPS request through the platform's HTTP client.
namespace quorvant {

inline constexpr char DefaultUserAgent[] = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

// Fetches `url` and returns the response body, whatever its status; empty when the request
// cannot be set up or nothing arrives.
//   method           0 GET, 1 POST, 2 HEAD; any other value GET.
//   body             request data for POST and HEAD when `byteBody` is empty.
//   cookies          cookie string to send. Supplying it at all, even empty, keeps the
//                    platform's cookie store out and merges the response's cookies into it.
//   receivedCookies  out: the cookies the response set (merged when `cookies` was supplied).
//   extraHeaders     in/out: extra request header lines separated by CR LF; on return the whole
//                    header block that was sent.
//   responseHeaders  out: the raw response header block, or 5000 spaces when there was none or
//                    it did not fit into 5000 bytes.
//   noRedirect       true: a redirect response is returned instead of followed.
//   byteBody         in/out: request data as bytes; for POST and HEAD an empty one receives the
//                    bytes of `body`.
//   proxy            proxy as host:port; empty for a direct connection.
// When the session, connection or request cannot be opened no parameter is changed.
Bytes FetchPage(const Text& url, std::int32_t method = 0, const Text& body = {},
                InOut<Text> cookies = {}, InOut<Text> receivedCookies = {},
                InOut<Text> extraHeaders = {}, InOut<Text> responseHeaders = {},
                bool noRedirect = false, InOut<Bytes> byteBody = {}, const Text& proxy = {});

}  // namespace quorvant
