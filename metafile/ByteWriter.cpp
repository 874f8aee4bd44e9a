#include "metafile/ByteWriter.h"

#include <cstring>

namespace ortolan::metafile {

void ByteWriter::u16(quint16 v)
{
    const char b[2] = {char(v & 0xFF), char(v >> 8)};
    m_bytes.append(b, 2);
}

void ByteWriter::u32(quint32 v)
{
    const char b[4] = {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char(v >> 24)};
    m_bytes.append(b, 4);
}

void ByteWriter::f32(float v)
{
    quint32 bits;
    std::memcpy(&bits, &v, sizeof bits);
    u32(bits);
}

void ByteWriter::utf16(const QString &text)
{
    for (const QChar c : text)
        u16(c.unicode());
}

void ByteWriter::putU16At(qsizetype offset, quint16 v)
{
    Q_ASSERT(offset >= 0 && offset + 2 <= m_bytes.size());
    m_bytes[offset] = char(v & 0xFF);
    m_bytes[offset + 1] = char(v >> 8);
}

void ByteWriter::putU32At(qsizetype offset, quint32 v)
{
    Q_ASSERT(offset >= 0 && offset + 4 <= m_bytes.size());
    for (int i = 0; i < 4; ++i)
        m_bytes[offset + i] = char((v >> (8 * i)) & 0xFF);
}

}  // namespace ortolan::metafile
