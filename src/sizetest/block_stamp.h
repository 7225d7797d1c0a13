#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>

namespace corvane {

// Fills a block with the stamp of its first sector p: every 4-byte group holds the low 32 bits
// of p, most significant byte first. length is a multiple of 4.
void FillBlockStamp(unsigned char* block, std::size_t length, std::uint64_t p);

// Walks the bytes a read returned in 4-byte groups and compares each with the low 32 bits of
// p; returns the first group that differs, or nothing when all match. Comparing the low 32
// bits (the stamp holds no more) keeps blocks at and beyond sector 2^31 checkable.
std::optional<std::uint32_t> CheckBlockStamp(const unsigned char* block, std::size_t length,
                                             std::uint64_t p);

// True when every group of the block holds stamp.
bool BlockHoldsStamp(const unsigned char* block, std::size_t length, std::uint32_t stamp);

} // namespace corvane
