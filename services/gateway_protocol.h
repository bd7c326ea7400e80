#ifndef MIRAVEL_SERVICES_GATEWAY_PROTOCOL_H_
#define MIRAVEL_SERVICES_GATEWAY_PROTOCOL_H_

// The pieces of the exchange with the share-password gateway: the data text,
// the token, the sign, the two request URLs and what is taken from an
// answer. All texts are GBK.

#include "text/value.h"

namespace miravel {

// "￥" in GBK.
inline constexpr char kPasswordSign[] = "\xA3\xA4";

// `text` with '"' and '\' escaped by a backslash and bytes below 0x20 as \n,
// \r, \t or \u00xx, so that it can stand inside a JSON string. Double-byte
// GBK characters pass unchanged, including a trail byte that equals '\'; a
// lead byte without a trail byte after it becomes '?'.
Text JsonStringContent(const Text& text);

// {"url":"<address>","passwordType":"tao","sourceType":"other","title":"<title>","bizId":"mama-taobaolianmeng"}
// with address and title escaped by JsonStringContent.
Text ShareDataText(const Text& address, const Text& title);

// The session token: the text of `cookies` between the first "_m_h5_tk=" and
// the next "_1"; empty when either is missing.
Text SessionToken(const Text& cookies);

// token "&" t "&" app key "&" data text.
Text SignInput(const Text& token, const Text& timestamp, const Text& dataText);

// MD5 of the sign input's UTF-8 form as 32 lower-case hexadecimal digits.
Text SignOf(const Text& signInput);

// http://<gateway>/h5/<api>/1.0/?v=1.0&api=<api>&appKey=<key>&t=<t>
//   &callback=mtopjsonp1&type=jsonp&sign=<sign>&data=<data text, URL-encoded as UTF-8>
Text SignedRequestUrl(const Text& timestamp, const Text& sign, const Text& dataText);

// http://<gateway>/h5/<api>/1.0/?v=1.0&api=<api>&appKey=<key>&callback=mtopjsonp1&type=jsonp&t=<t>
Text WarmUpUrl(const Text& timestamp);

// "￥", the text between the answer's first two "￥", "￥"; empty when that
// text is empty or the answer holds fewer than two.
Text FramedPassword(const Text& answer);

// The first message of the answer's "ret" list ("FAIL_SYS_TOKEN_EMPTY::令牌为空");
// empty when the answer has none.
Text ReturnMessage(const Text& answer);

// True for the messages that reject the session token (empty, illegal or
// expired).
bool RejectsToken(const Text& returnMessage);

}  // namespace miravel

#endif  // MIRAVEL_SERVICES_GATEWAY_PROTOCOL_H_
