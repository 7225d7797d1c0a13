#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace corvane::fakeflash {

// Reads a byte count as a user writes it: plain bytes ("4096"), powers of 1000 ("16GB", "500MB")
// or powers of 1024 ("8GiB", "512KiB"); a decimal fraction is allowed when the result is a whole
// number of bytes ("7.5GB"). Units are case-insensitive except that binary units need the "i",
// and a bare "G" is refused as ambiguous. Returns false with a reason in `error` otherwise.
bool ParseSize(std::string_view text, std::uint64_t& bytes, std::string& error);

} // namespace corvane::fakeflash
