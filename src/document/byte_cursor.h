// Bounds-checked little-endian reading from a byte buffer. Every read names the
// section it belongs to, so a short or hostile file is refused with a message
// that says what was being read and at which byte offset.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace kavlen {

struct FormatError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class ByteCursor {
  public:
    ByteCursor(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::size_t position() const { return pos_; }
    std::size_t remaining() const { return size_ - pos_; }
    void setSection(const char* section) { section_ = section; }
    const char* section() const { return section_; }

    [[noreturn]] void fail(const std::string& problem) const {
        throw FormatError(problem + " (" + section_ + ", byte offset " + std::to_string(pos_) +
                          ")");
    }

    void need(std::size_t bytes) const {
        if (bytes > remaining())
            fail("File ends early: " + std::to_string(bytes) + " bytes needed, " +
                 std::to_string(remaining()) + " left");
    }

    std::uint8_t u8() {
        need(1);
        return data_[pos_++];
    }
    std::uint16_t u16() {
        need(2);
        const std::uint16_t v = static_cast<std::uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
        pos_ += 2;
        return v;
    }
    std::int16_t i16() { return static_cast<std::int16_t>(u16()); }
    std::uint32_t u32() {
        need(4);
        const std::uint32_t v = std::uint32_t(data_[pos_]) | (std::uint32_t(data_[pos_ + 1]) << 8) |
                                (std::uint32_t(data_[pos_ + 2]) << 16) |
                                (std::uint32_t(data_[pos_ + 3]) << 24);
        pos_ += 4;
        return v;
    }
    void bytes(void* out, std::size_t n) {
        need(n);
        if (n > 0)
            std::memcpy(out, data_ + pos_, n);
        pos_ += n;
    }
    // Reads `count` consecutive little-endian 16-bit values into trivially copyable
    // storage made of 16-bit fields (int16 arrays, vertex records).
    void words(void* out, std::size_t count) {
        need(2 * count);
        if constexpr (std::endian::native == std::endian::little) {
            if (count > 0)
                std::memcpy(out, data_ + pos_, 2 * count);
            pos_ += 2 * count;
        } else {
            auto* dst = static_cast<std::uint16_t*>(out);
            for (std::size_t i = 0; i < count; ++i)
                dst[i] = u16();
        }
    }
    const std::uint8_t* take(std::size_t n) {
        need(n);
        const std::uint8_t* p = data_ + pos_;
        pos_ += n;
        return p;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    const char* section_ = "";
};

// Little-endian appending to a byte buffer.
class ByteSink {
  public:
    explicit ByteSink(std::vector<std::uint8_t>& out) : out_(out) {}
    std::size_t position() const { return out_.size(); }
    void u8(std::uint8_t v) { out_.push_back(v); }
    void u16(std::uint16_t v) {
        out_.push_back(static_cast<std::uint8_t>(v));
        out_.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void i16(std::int16_t v) { u16(static_cast<std::uint16_t>(v)); }
    void u32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void bytes(const void* p, std::size_t n) {
        const auto* b = static_cast<const std::uint8_t*>(p);
        out_.insert(out_.end(), b, b + n);
    }
    // Appends `count` 16-bit values from storage made of 16-bit fields, little-endian.
    void words(const void* p, std::size_t count) {
        if constexpr (std::endian::native == std::endian::little) {
            bytes(p, 2 * count);
        } else {
            const auto* src = static_cast<const std::uint16_t*>(p);
            for (std::size_t i = 0; i < count; ++i)
                u16(src[i]);
        }
    }
    void reserve(std::size_t n) { out_.reserve(n); }
    void patchU32(std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out_[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }

  private:
    std::vector<std::uint8_t>& out_;
};

} // namespace kavlen
