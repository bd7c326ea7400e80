#include "services/gateway_protocol.h"

#include <array>
#include <cstdio>

#include "services/gateway.h"
#include "text/md5.h"
#include "text/primitives.h"
#include "text/text_between.h"
#include "text/url_encode.h"

namespace miravel {
namespace {

constexpr char kScheme[] = "http://";
constexpr char kApiPath[] = "/h5/mtop.taobao.wireless.share.password.getpasswordshareinfo/1.0/";
constexpr char kQueryHead[] =
    "?v=1.0&api=mtop.taobao.wireless.share.password.getpasswordshareinfo&appKey=";
constexpr char kTokenMarker[] = "_m_h5_tk=";
constexpr char kTokenEndMarker[] = "_1";

constexpr std::array<const char*, 4> kTokenRejections = {
    "FAIL_SYS_TOKEN_EMPTY", "FAIL_SYS_TOKEN_ILLEGAL", "FAIL_SYS_TOKEN_EXOIRED",
    "FAIL_SYS_TOKEN_EXPIRED"};

bool IsLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

bool IsGbkPair(const Text& text, size_t i) {
  if (!IsLeadByte(static_cast<unsigned char>(text[i])) || i + 1 >= text.size()) return false;
  const auto trail = static_cast<unsigned char>(text[i + 1]);
  return trail >= 0x40 && trail <= 0xFE && trail != 0x7F;
}

void AppendEscaped(Text& out, unsigned char byte) {
  switch (byte) {
    case '"': out += "\\\""; return;
    case '\\': out += "\\\\"; return;
    case '\n': out += "\\n"; return;
    case '\r': out += "\\r"; return;
    case '\t': out += "\\t"; return;
    default: break;
  }
  if (byte < 0x20) {
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\u%04x", byte);
    out += escape;
  } else {
    out += static_cast<char>(byte);
  }
}

Text GatewayPrefix() { return kScheme + GatewayHost() + kApiPath + kQueryHead + kAppKey; }

}  // namespace

Text JsonStringContent(const Text& text) {
  Text out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsGbkPair(text, i)) {
      out.append(text, i, 2);
      ++i;
    } else if (IsLeadByte(static_cast<unsigned char>(text[i]))) {
      // A lead byte without its trail would pair up with the backslash of a
      // following escape and free the quote after it.
      out += '?';
    } else {
      AppendEscaped(out, static_cast<unsigned char>(text[i]));
    }
  }
  return out;
}

Text ShareDataText(const Text& address, const Text& title) {
  return "{\"url\":\"" + JsonStringContent(address) +
         "\",\"passwordType\":\"tao\",\"sourceType\":\"other\",\"title\":\"" +
         JsonStringContent(title) + "\",\"bizId\":\"mama-taobaolianmeng\"}";
}

Text SessionToken(const Text& cookies) {
  return TextBetween(cookies, kTokenMarker, kTokenEndMarker);
}

Text SignInput(const Text& token, const Text& timestamp, const Text& dataText) {
  return token + "&" + timestamp + "&" + kAppKey + "&" + dataText;
}

Text SignOf(const Text& signInput) {
  Text utf8 = signInput;  // TextMd5 replaces its argument by the UTF-8 form
  return TextMd5(utf8, true);
}

Text SignedRequestUrl(const Text& timestamp, const Text& sign, const Text& dataText) {
  return GatewayPrefix() + "&t=" + timestamp + "&callback=mtopjsonp1&type=jsonp&sign=" + sign +
         "&data=" + UrlEncode(dataText, true, true);
}

Text WarmUpUrl(const Text& timestamp) {
  return GatewayPrefix() + "&callback=mtopjsonp1&type=jsonp&t=" + timestamp;
}

Text FramedPassword(const Text& answer) {
  const Text code = TextBetween(answer, kPasswordSign, kPasswordSign);
  return code.empty() ? Text() : kPasswordSign + code + kPasswordSign;
}

Text ReturnMessage(const Text& answer) {
  const size_t key = answer.find("\"ret\"");
  if (key == Text::npos) return {};
  const size_t list = answer.find('[', key);
  if (list == Text::npos) return {};
  const size_t open = answer.find_first_not_of(" \t\r\n", list + 1);
  if (open == Text::npos || answer[open] != '"') return {};
  const size_t close = answer.find('"', open + 1);
  if (close == Text::npos) return {};
  return answer.substr(open + 1, close - open - 1);
}

bool RejectsToken(const Text& returnMessage) {
  for (const char* rejection : kTokenRejections) {
    if (returnMessage.rfind(rejection, 0) == 0) return true;
  }
  return false;
}

}  // namespace miravel
