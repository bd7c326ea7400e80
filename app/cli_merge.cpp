#include <string_view>

#include "app/cli_commands.h"
#include "app/utf8_edge.h"
#include "services/two_in_one.h"

namespace miravel {

int RunMerge(const CommandLine& line, std::ostream& out, std::ostream& err) {
  Text joinedLinks = FromUtf8(line.couponLink);
  const Text link =
      ComposeTwoInOneLink(FromUtf8(line.itemLink), joinedLinks, FromUtf8(line.pid), line.forcedTargeting);
  out << ToUtf8(link) << '\n' << std::flush;

  const std::string_view composed = link;
  const bool noActivityId = composed.find("activityId=&") != std::string_view::npos ||
                            composed.find("activityId=") == std::string_view::npos;
  const bool noItemId = composed.find("itemId=&") != std::string_view::npos ||
                        composed.find("itemId=") == std::string_view::npos;
  if (noActivityId) {
    err << "miravel: no activity id: neither link holds activityId= or activity_id= followed by 32 "
           "letters or digits\n";
  }
  if (noItemId) {
    err << "miravel: no item id: neither link holds ?id= or &id= followed by 11 to 15 digits\n";
  }
  return noActivityId || noItemId ? 1 : 0;
}

}  // namespace miravel
