#pragma once

#include <QByteArray>

#include <cstdint>
#include <cstring>

namespace ortolan::data {

// A growing byte buffer written in little-endian order, value by value (never
// by copying structs), with patching of values written earlier.
class LittleEndianWriter {
public:
    qsizetype size() const { return bytes_.size(); }
    const QByteArray &bytes() const { return bytes_; }
    QByteArray takeBytes() { return std::move(bytes_); }

    void u8(std::uint8_t v) { bytes_.append(char(v)); }
    void u16(std::uint16_t v)
    {
        u8(std::uint8_t(v));
        u8(std::uint8_t(v >> 8));
    }
    void u32(std::uint32_t v)
    {
        u16(std::uint16_t(v));
        u16(std::uint16_t(v >> 16));
    }
    void f64(double v)
    {
        std::uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        u32(std::uint32_t(bits));
        u32(std::uint32_t(bits >> 32));
    }
    void raw(const QByteArray &data) { bytes_.append(data); }
    void zeros(qsizetype count) { bytes_.append(count, '\0'); }

    void patchU16(qsizetype at, std::uint16_t v)
    {
        bytes_[at] = char(v);
        bytes_[at + 1] = char(v >> 8);
    }
    void patchU32(qsizetype at, std::uint32_t v)
    {
        patchU16(at, std::uint16_t(v));
        patchU16(at + 2, std::uint16_t(v >> 16));
    }

private:
    QByteArray bytes_;
};

}  // namespace ortolan::data
