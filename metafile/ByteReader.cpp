#include "metafile/ByteReader.h"

#include <cstring>

namespace ortolan::metafile {

bool ByteReader::seek(qsizetype offset)
{
    if (offset < 0 || offset > m_size) {
        m_failed = true;
        return false;
    }
    m_pos = offset;
    return true;
}

bool ByteReader::skip(qsizetype count)
{
    if (!has(count)) {
        m_failed = true;
        return false;
    }
    m_pos += count;
    return true;
}

ByteReader ByteReader::sub(qsizetype offset, qsizetype length)
{
    if (offset < 0 || length < 0 || offset > m_size || length > m_size - offset) {
        m_failed = true;
        ByteReader empty;
        empty.m_failed = true;
        return empty;
    }
    return ByteReader(reinterpret_cast<const char *>(m_data + offset), length);
}

quint8 ByteReader::u8()
{
    if (!has(1)) {
        m_failed = true;
        return 0;
    }
    return m_data[m_pos++];
}

quint16 ByteReader::u16()
{
    if (!has(2)) {
        m_failed = true;
        return 0;
    }
    const quint16 v = quint16(m_data[m_pos] | (quint16(m_data[m_pos + 1]) << 8));
    m_pos += 2;
    return v;
}

quint32 ByteReader::u32()
{
    if (!has(4)) {
        m_failed = true;
        return 0;
    }
    const quint32 v = quint32(m_data[m_pos]) | (quint32(m_data[m_pos + 1]) << 8) | (quint32(m_data[m_pos + 2]) << 16)
                      | (quint32(m_data[m_pos + 3]) << 24);
    m_pos += 4;
    return v;
}

float ByteReader::f32()
{
    const quint32 bits = u32();
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

QByteArray ByteReader::bytes(qsizetype count)
{
    if (!has(count)) {
        m_failed = true;
        return QByteArray();
    }
    QByteArray out(reinterpret_cast<const char *>(m_data + m_pos), count);
    m_pos += count;
    return out;
}

QString ByteReader::utf16(qsizetype count)
{
    if (count < 0 || count > remaining() / 2) {
        m_failed = true;
        return QString();
    }
    QString s(count, Qt::Uninitialized);
    for (qsizetype i = 0; i < count; ++i)
        s[i] = QChar(u16());
    return s;
}

}  // namespace ortolan::metafile
