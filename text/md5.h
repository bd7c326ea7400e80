#ifndef MIRAVEL_TEXT_MD5_H_
#define MIRAVEL_TEXT_MD5_H_

#include <cstdint>

#include "text/value.h"

namespace miravel {

inline constexpr std::uint32_t CALG_MD5 = 0x8003;

// MD5 of the text's bytes as hexadecimal text: 32 lower-case digits, upper
// case with `upperCase`, digits 9..24 with `shortForm`. With `utf8` the
// caller's text is first replaced by its UTF-8 form. Empty on failure.
Text TextMd5(Text& text, bool utf8 = false, bool upperCase = false, bool shortForm = false);
Text BytesMd5(const Bytes& bytes, bool upperCase = false, bool shortForm = false);

// Digest of `bytes` with the provider's `algorithm` as upper-case hex; empty
// when the algorithm is not supported or the provider fails.
Text HashHex(const Bytes& bytes, std::uint32_t algorithm, int digestLength);

}  // namespace miravel

#endif  // MIRAVEL_TEXT_MD5_H_
