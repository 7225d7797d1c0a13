#pragma once
#include <ios>
#include <optional>

#include "os/file_exception.h"

namespace corvane {

// Runs fn and returns the cause of the file exception it raised; nullopt when it raised none.
// A stream failure counts as the generic cause. Other exceptions pass through.
template <typename Fn> std::optional<int> CatchFileException(Fn&& fn) {
    try {
        fn();
    } catch (const os::FileException& e) {
        return e.Cause();
    } catch (const std::ios_base::failure&) {
        return os::kFileGeneric;
    }
    return std::nullopt;
}

} // namespace corvane
