#pragma once
#include <optional>
#include <string>

namespace corvane {

// Why a drive must not be tested as it stands (it holds the running system, or a mounted file
// system), or nothing when it may. Reads only system tables; never opens the drive. On
// systems without such tables the answer is always nothing.
std::optional<std::string> RefuseMountedTarget(const std::string& drive);

} // namespace corvane
