#pragma once

#include "data/LittleEndianWriter.h"

#include <QString>

#include <cstdint>

// Record layouts of the Excel 97-2003 workbook stream (BIFF8) that the Excel
// writer uses. Each function appends one complete record: a 2-byte record id,
// a 2-byte body length, then the body, all little-endian.
namespace ortolan::data::biff8 {

namespace id {
constexpr std::uint16_t Bof = 0x0809;
constexpr std::uint16_t Eof = 0x000A;
constexpr std::uint16_t Codepage = 0x0042;
constexpr std::uint16_t Window1 = 0x003D;
constexpr std::uint16_t Font = 0x0031;
constexpr std::uint16_t Xf = 0x00E0;
constexpr std::uint16_t Style = 0x0293;
constexpr std::uint16_t BoundSheet = 0x0085;
constexpr std::uint16_t Sst = 0x00FC;
constexpr std::uint16_t ExtSst = 0x00FF;
constexpr std::uint16_t Continue = 0x003C;
constexpr std::uint16_t Dimensions = 0x0200;
constexpr std::uint16_t Number = 0x0203;
constexpr std::uint16_t LabelSst = 0x00FD;
constexpr std::uint16_t Window2 = 0x023E;
}  // namespace id

constexpr int MaxRecordBody = 8224;  // longer data continues in CONTINUE records
constexpr int MaxRows = 65536;
constexpr int MaxColumns = 256;
constexpr int MaxCellText = 32767;   // characters of one cell
constexpr int MaxSheetName = 31;

// BOF substream types.
constexpr std::uint16_t WorkbookGlobals = 0x0005;
constexpr std::uint16_t Worksheet = 0x0010;

// The cell format used for every cell: XF 15, the first after the 15 style XFs.
constexpr std::uint16_t CellXf = 15;

// Starts a record; returns the position of its length field for endRecord.
inline qsizetype beginRecord(LittleEndianWriter &out, std::uint16_t recordId)
{
    out.u16(recordId);
    const qsizetype lengthAt = out.size();
    out.u16(0);
    return lengthAt;
}

inline void endRecord(LittleEndianWriter &out, qsizetype lengthAt)
{
    out.patchU16(lengthAt, std::uint16_t(out.size() - lengthAt - 2));
}

// True when every character fits one byte (the compressed string form).
inline bool isLatin1(QStringView text)
{
    for (const QChar c : text)
        if (c.unicode() > 0xFF)
            return false;
    return true;
}

// Characters of a string in the compressed (1 byte) or UTF-16LE form.
inline void characters(LittleEndianWriter &out, QStringView text, bool wide)
{
    for (const QChar c : text) {
        if (wide)
            out.u16(c.unicode());
        else
            out.u8(std::uint8_t(c.unicode()));
    }
}

// ShortXLUnicodeString: 1-byte length, option flags (bit 0: UTF-16), characters.
inline void shortString(LittleEndianWriter &out, QStringView text)
{
    const bool wide = !isLatin1(text);
    out.u8(std::uint8_t(text.size()));
    out.u8(wide ? 1 : 0);
    characters(out, text, wide);
}

inline void bof(LittleEndianWriter &out, std::uint16_t substream)
{
    const qsizetype at = beginRecord(out, id::Bof);
    out.u16(0x0600);      // BIFF8
    out.u16(substream);
    out.u16(0x0DBB);      // build identifier
    out.u16(0x07CC);      // build year
    out.u32(0);           // file history flags
    out.u32(0x00000006);  // lowest BIFF version that can read all records
    endRecord(out, at);
}

inline void eof(LittleEndianWriter &out)
{
    endRecord(out, beginRecord(out, id::Eof));
}

// Text of the workbook is UTF-16 (code page 1200).
inline void codepage(LittleEndianWriter &out)
{
    const qsizetype at = beginRecord(out, id::Codepage);
    out.u16(1200);
    endRecord(out, at);
}

inline void window1(LittleEndianWriter &out)
{
    const qsizetype at = beginRecord(out, id::Window1);
    out.u16(360);     // left, twips
    out.u16(270);     // top
    out.u16(14940);   // width
    out.u16(9150);    // height
    out.u16(0x0038);  // horizontal and vertical scroll bars, sheet tabs shown
    out.u16(0);       // selected sheet
    out.u16(0);       // first visible tab
    out.u16(1);       // selected tabs
    out.u16(600);     // tab bar width, 1/1000 of the window
    endRecord(out, at);
}

// A font of the given height in twips (1/20 point), normal weight, automatic colour.
inline void font(LittleEndianWriter &out, QStringView name, std::uint16_t heightTwips)
{
    const qsizetype at = beginRecord(out, id::Font);
    out.u16(heightTwips);
    out.u16(0);       // not bold, italic, struck out
    out.u16(0x7FFF);  // automatic colour
    out.u16(400);     // normal weight
    out.u16(0);       // no super- or subscript
    out.u8(0);        // not underlined
    out.u8(0);        // font family
    out.u8(0);        // character set
    out.u8(0);        // reserved
    shortString(out, name);
    endRecord(out, at);
}

// Cell format record: font, number format 0 ("General"), bottom alignment, no
// borders, default pattern colours. Style XFs have bits 2 (style) and 4..15
// (no parent) set; cell XFs point at style XF 0.
inline void xf(LittleEndianWriter &out, bool style, std::uint16_t fontIndex, bool allAttributesOwn)
{
    const qsizetype at = beginRecord(out, id::Xf);
    out.u16(fontIndex);
    out.u16(0);                        // number format: General
    out.u16(style ? 0xFFF5 : 0x0001);  // locked; style XF without parent, or cell XF of style 0
    out.u8(0x20);                      // horizontal general, vertical bottom
    out.u8(0);                         // no rotation
    out.u8(0);                         // no indent, shrink or reading order
    out.u8(allAttributesOwn ? 0x00 : 0xF4);  // which attribute groups this XF does not define
    out.u32(0);                        // no borders
    out.u32(0);                        // no diagonal, no fill pattern
    out.u16(0x20C0);                   // pattern colours: window text on window background
    endRecord(out, at);
}

// The built-in "Normal" style, on XF 0.
inline void normalStyle(LittleEndianWriter &out)
{
    const qsizetype at = beginRecord(out, id::Style);
    out.u16(0x8000);  // built-in style, XF 0
    out.u8(0);        // "Normal"
    out.u8(0xFF);     // no outline level
    endRecord(out, at);
}

// Sheet entry of the globals; returns the position of the sheet's stream
// offset, which is known only once the globals are complete.
inline qsizetype boundSheet(LittleEndianWriter &out, QStringView name)
{
    const qsizetype at = beginRecord(out, id::BoundSheet);
    const qsizetype offsetAt = out.size();
    out.u32(0);  // stream position of the sheet's BOF, patched later
    out.u8(0);   // visible
    out.u8(0);   // worksheet
    shortString(out, name);
    endRecord(out, at);
    return offsetAt;
}

// Used cell range: rows [0, rows), columns [0, columns).
inline void dimensions(LittleEndianWriter &out, std::uint32_t rows, std::uint16_t columns)
{
    const qsizetype at = beginRecord(out, id::Dimensions);
    out.u32(0);
    out.u32(rows);
    out.u16(0);
    out.u16(columns);
    out.u16(0);
    endRecord(out, at);
}

inline void number(LittleEndianWriter &out, std::uint16_t row, std::uint16_t column, double value)
{
    const qsizetype at = beginRecord(out, id::Number);
    out.u16(row);
    out.u16(column);
    out.u16(CellXf);
    out.f64(value);
    endRecord(out, at);
}

// A text cell holding string `index` of the shared string table.
inline void labelSst(LittleEndianWriter &out, std::uint16_t row, std::uint16_t column, std::uint32_t index)
{
    const qsizetype at = beginRecord(out, id::LabelSst);
    out.u16(row);
    out.u16(column);
    out.u16(CellXf);
    out.u32(index);
    endRecord(out, at);
}

inline void window2(LittleEndianWriter &out)
{
    const qsizetype at = beginRecord(out, id::Window2);
    out.u16(0x06B6);  // grid, headers, zeros, default header colour, outline, selected, shown
    out.u16(0);       // top row
    out.u16(0);       // left column
    out.u16(0x40);    // grid line colour: automatic
    out.u16(0);       // reserved
    out.u16(0);       // page break preview zoom: default
    out.u16(0);       // normal view zoom: default
    out.u32(0);       // reserved
    endRecord(out, at);
}

}  // namespace ortolan::data::biff8
