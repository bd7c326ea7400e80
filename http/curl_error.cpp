#include "http/curl_error.h"

namespace miravel {
namespace {

Text LowerFirst(Text text) {
  if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z') text[0] = static_cast<char>(text[0] - 'A' + 'a');
  return text;
}

}  // namespace

Text CurlErrorText(CURLcode code, const char* detail) {
  if (code == CURLE_OK) return {};
  Text text = LowerFirst(curl_easy_strerror(code));
  if (detail != nullptr && detail[0] != '\0') text += " (" + Text(detail) + ")";
  return text;
}

Text CurlErrorText(CURLMcode code) {
  if (code == CURLM_OK) return {};
  return LowerFirst(curl_multi_strerror(code));
}

}  // namespace miravel
