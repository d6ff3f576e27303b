#include "tools/bench_decode/reference_decode.h"

#include <curl/curl.h>

#include <QJSEngine>
#include <QJSValue>
#include <QString>

namespace quorvant::bench {
namespace {

std::size_t Collect(char* data, std::size_t size, std::size_t count, void* into) {
  static_cast<std::string*>(into)->append(data, size * count);
  return size * count;
}

}  // namespace

std::string ReferencePost(const std::string& endpoint, const std::string& formBody) {
  std::string answer;
  CURL* curl = curl_easy_init();
  if (curl == nullptr) return answer;
  curl_easy_setopt(curl, CURLOPT_URL, endpoint.c_str());
  curl_easy_setopt(curl, CURLOPT_POSTFIELDS, formBody.c_str());
  curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE, static_cast<long>(formBody.size()));
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Collect);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &answer);
  curl_easy_perform(curl);
  curl_easy_cleanup(curl);
  return answer;
}

std::string ReferenceRead(const std::string& answer) {
  QJSEngine engine;
  engine.globalObject().setProperty("answer", QString::fromUtf8(answer));
  const QJSValue parsed = engine.evaluate("JSON.parse(answer)");
  if (parsed.property("ret").toString() != QString::fromUtf16(u"调用成功")) return {};
  return parsed.property("url").toString().toStdString();
}

}  // namespace quorvant::bench
