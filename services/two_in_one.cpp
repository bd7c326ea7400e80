#include "services/two_in_one.h"

#include "regex/regex_object.h"
#include "text/primitives.h"

namespace miravel {
namespace {

struct Identifier {
  const char* marker;   // must occur, with exactly these letters, for the pattern to be tried
  const char* pattern;  // group 1 is the identifier
};

constexpr Identifier kActivityIds[] = {
    {"activityId=", "activityId=(\\w{32})"},
    {"activity_id=", "activity_id=(\\w{32})"},
};

// "?id=" is the usual place of the item id; many item links carry it later
// in the query instead, after "&id=".
constexpr Identifier kItemIds[] = {
    {"?id=", "\\?id=(\\d{11,15})"},
    {"&id=", "&id=(\\d{11,15})"},
};

// Group 1 of the first match of the first identifier whose marker occurs in
// `joined`; the later identifiers are not tried once a marker occurs.
template <size_t N>
Text FindIdentifier(RegexObject& regex, const Text& joined, const Identifier (&identifiers)[N]) {
  for (const Identifier& identifier : identifiers) {
    if (FindText(joined, identifier.marker) < 1) continue;
    regex.Compile(identifier.pattern, joined, false, false, true, true);
    return regex.SubmatchText(1, 1);
  }
  return {};
}

}  // namespace

Text ComposeTwoInOneLink(const Text& itemLink, Text& couponLink, const Text& pid,
                         bool forcedTargeting) {
  RegexObject regex;
  const Text joined = itemLink + "\r\n" + couponLink;
  couponLink = joined;

  const Text activityId = FindIdentifier(regex, joined, kActivityIds);
  const Text itemId = FindIdentifier(regex, joined, kItemIds);
  Text link = Text("http://") + kCouponLandingHost + "/coupon/edetail?activityId=" + activityId +
              "&itemId=" + itemId + "&src=czhk_cztkl";
  if (!pid.empty()) link += "&pid=" + pid;
  if (forcedTargeting) link += "&dx=1";
  return link;
}

}  // namespace miravel
