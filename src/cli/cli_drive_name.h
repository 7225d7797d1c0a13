#pragma once
#include <string>

namespace corvane {

// The drive name as the list keeps it: "e", "e:" and "E:\" are E:; "/dev/sdb" is sdb; any
// other text stays as it is.
std::string ListedName(std::string text);

} // namespace corvane
