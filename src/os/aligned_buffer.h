#pragma once
#include <cstddef>
#include <cstring>
#include <new>

namespace corvane::os {

// A zero-filled byte buffer aligned for unbuffered device I/O (4096 bytes covers every logical
// sector size in use). Move-only.
class AlignedBuffer {
public:
    static constexpr std::size_t kAlignment = 4096;

    AlignedBuffer() = default;
    explicit AlignedBuffer(std::size_t size) : size_(size) {
        if (size_ != 0) {
            data_ = static_cast<unsigned char*>(
                ::operator new (size_, std::align_val_t{kAlignment}, std::nothrow));
            if (data_ == nullptr)
                size_ = 0;
            else
                std::memset(data_, 0, size_);
        }
    }
    AlignedBuffer(AlignedBuffer&& other) noexcept : data_(other.data_), size_(other.size_) {
        other.data_ = nullptr;
        other.size_ = 0;
    }
    AlignedBuffer& operator=(AlignedBuffer&& other) noexcept {
        if (this != &other) {
            Release();
            data_ = other.data_;
            size_ = other.size_;
            other.data_ = nullptr;
            other.size_ = 0;
        }
        return *this;
    }
    AlignedBuffer(const AlignedBuffer&) = delete;
    AlignedBuffer& operator=(const AlignedBuffer&) = delete;
    ~AlignedBuffer() { Release(); }

    // False when the allocation failed (or nothing was asked for).
    explicit operator bool() const { return data_ != nullptr; }
    unsigned char* data() { return data_; }
    const unsigned char* data() const { return data_; }
    std::size_t size() const { return size_; }

private:
    void Release() {
        if (data_ != nullptr)
            ::operator delete (data_, std::align_val_t{kAlignment});
        data_ = nullptr;
    }
    unsigned char* data_ = nullptr;
    std::size_t size_ = 0;
};

} // namespace corvane::os
