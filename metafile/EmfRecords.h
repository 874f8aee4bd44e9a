#pragma once

#include <QtGlobal>

// Record layout of enhanced metafiles (EMF). Every record starts with its type
// and its size in bytes (a multiple of four, at least 8); all integers are
// little-endian, coordinates signed 32-bit (or 16-bit in the "16" variants).
// Sizes below are whole-record sizes including those 8 bytes.
namespace ortolan::metafile::emf {

enum RecordType : quint32 {
    EMR_HEADER = 1,
    EMR_POLYBEZIER = 2,
    EMR_POLYGON = 3,
    EMR_POLYLINE = 4,
    EMR_POLYBEZIERTO = 5,
    EMR_POLYLINETO = 6,
    EMR_POLYPOLYLINE = 7,
    EMR_POLYPOLYGON = 8,
    EMR_SETWINDOWEXTEX = 9,
    EMR_SETWINDOWORGEX = 10,
    EMR_SETVIEWPORTEXTEX = 11,
    EMR_SETVIEWPORTORGEX = 12,
    EMR_SETBRUSHORGEX = 13,
    EMR_EOF = 14,
    EMR_SETPIXELV = 15,
    EMR_SETMAPPERFLAGS = 16,
    EMR_SETMAPMODE = 17,
    EMR_SETBKMODE = 18,
    EMR_SETPOLYFILLMODE = 19,
    EMR_SETROP2 = 20,
    EMR_SETSTRETCHBLTMODE = 21,
    EMR_SETTEXTALIGN = 22,
    EMR_SETCOLORADJUSTMENT = 23,
    EMR_SETTEXTCOLOR = 24,
    EMR_SETBKCOLOR = 25,
    EMR_OFFSETCLIPRGN = 26,
    EMR_MOVETOEX = 27,
    EMR_SETMETARGN = 28,
    EMR_EXCLUDECLIPRECT = 29,
    EMR_INTERSECTCLIPRECT = 30,
    EMR_SCALEVIEWPORTEXTEX = 31,
    EMR_SCALEWINDOWEXTEX = 32,
    EMR_SAVEDC = 33,
    EMR_RESTOREDC = 34,
    EMR_SETWORLDTRANSFORM = 35,
    EMR_MODIFYWORLDTRANSFORM = 36,
    EMR_SELECTOBJECT = 37,
    EMR_CREATEPEN = 38,
    EMR_CREATEBRUSHINDIRECT = 39,
    EMR_DELETEOBJECT = 40,
    EMR_ANGLEARC = 41,
    EMR_ELLIPSE = 42,
    EMR_RECTANGLE = 43,
    EMR_ROUNDRECT = 44,
    EMR_ARC = 45,
    EMR_CHORD = 46,
    EMR_PIE = 47,
    EMR_SELECTPALETTE = 48,
    EMR_CREATEPALETTE = 49,
    EMR_SETPALETTEENTRIES = 50,
    EMR_RESIZEPALETTE = 51,
    EMR_REALIZEPALETTE = 52,
    EMR_EXTFLOODFILL = 53,
    EMR_LINETO = 54,
    EMR_ARCTO = 55,
    EMR_POLYDRAW = 56,
    EMR_SETARCDIRECTION = 57,
    EMR_SETMITERLIMIT = 58,
    EMR_BEGINPATH = 59,
    EMR_ENDPATH = 60,
    EMR_CLOSEFIGURE = 61,
    EMR_FILLPATH = 62,
    EMR_STROKEANDFILLPATH = 63,
    EMR_STROKEPATH = 64,
    EMR_FLATTENPATH = 65,
    EMR_WIDENPATH = 66,
    EMR_SELECTCLIPPATH = 67,
    EMR_ABORTPATH = 68,
    EMR_GDICOMMENT = 70,
    EMR_FILLRGN = 71,
    EMR_FRAMERGN = 72,
    EMR_INVERTRGN = 73,
    EMR_PAINTRGN = 74,
    EMR_EXTSELECTCLIPRGN = 75,
    EMR_BITBLT = 76,
    EMR_STRETCHBLT = 77,
    EMR_MASKBLT = 78,
    EMR_PLGBLT = 79,
    EMR_SETDIBITSTODEVICE = 80,
    EMR_STRETCHDIBITS = 81,
    EMR_EXTCREATEFONTINDIRECTW = 82,
    EMR_EXTTEXTOUTA = 83,
    EMR_EXTTEXTOUTW = 84,
    EMR_POLYBEZIER16 = 85,
    EMR_POLYGON16 = 86,
    EMR_POLYLINE16 = 87,
    EMR_POLYBEZIERTO16 = 88,
    EMR_POLYLINETO16 = 89,
    EMR_POLYPOLYLINE16 = 90,
    EMR_POLYPOLYGON16 = 91,
    EMR_POLYDRAW16 = 92,
    EMR_CREATEMONOBRUSH = 93,
    EMR_CREATEDIBPATTERNBRUSHPT = 94,
    EMR_EXTCREATEPEN = 95,
    EMR_POLYTEXTOUTA = 96,
    EMR_POLYTEXTOUTW = 97,
    EMR_SETICMMODE = 98,
    EMR_CREATECOLORSPACE = 99,
    EMR_SETCOLORSPACE = 100,
    EMR_DELETECOLORSPACE = 101,
    EMR_CREATECOLORSPACEW = 122,
    EMR_SETLAYOUT = 115,
};

constexpr quint32 Signature = 0x464D4520;  // " EMF"
constexpr quint32 Version = 0x00010000;
constexpr quint32 StockObjectFlag = 0x80000000;
constexpr quint32 RdhRectangles = 1;  // region data of rectangles
constexpr quint32 SrcCopy = 0x00CC0020;
constexpr quint32 PatCopy = 0x00F00021;
constexpr quint32 DibRgbColors = 0;
constexpr quint32 BiRgb = 0;
constexpr quint32 BiBitfields = 3;

// EMR_HEADER (108 bytes here, followed by the description):
//   0 type, 4 size, 8 bounds RECTL (device pixels, inclusive), 24 frame RECTL
//   (0.01 mm, inclusive), 40 signature, 44 version, 48 file bytes, 52 records,
//   56 handles (u16), 58 reserved (u16), 60 description length (UTF-16 units,
//   with terminators), 64 description offset, 68 palette entries, 72 device
//   SIZEL (pixels), 80 millimetres SIZEL, 88 pixel-format size, 92 pixel-format
//   offset, 96 OpenGL flag, 100 micrometres SIZEL.
namespace header {
constexpr int Bounds = 8;
constexpr int Frame = 24;
constexpr int Signature = 40;
constexpr int Version = 44;
constexpr int Bytes = 48;
constexpr int Records = 52;
constexpr int Handles = 56;
constexpr int DescriptionLength = 60;
constexpr int DescriptionOffset = 64;
constexpr int PaletteEntries = 68;
constexpr int Device = 72;
constexpr int Millimeters = 80;
constexpr int PixelFormatSize = 88;
constexpr int Micrometers = 100;
constexpr int BaseSize = 88;      // the oldest header, without the extensions
constexpr int Extension1Size = 100;
constexpr int Size = 108;
}  // namespace header

// Fixed parts of records with variable data.
constexpr int PolyHeaderSize = 28;          // type, size, bounds, count
constexpr int PolyPolyHeaderSize = 32;      // type, size, bounds, polygon count, point count
constexpr int LogFontSize = 92;             // LOGFONTW: 5 x i32, 8 x u8, 32 UTF-16 units
constexpr int ExtTextOutHeaderSize = 76;    // up to and including offDx
constexpr int StretchDibitsHeaderSize = 80;
constexpr int BitmapInfoHeaderSize = 40;
constexpr int RegionDataHeaderSize = 32;
constexpr int EofSize = 20;

// LOGBRUSH32 styles beyond GdiTypes' BrushStyle are not written.
// MS-EMF's EMR_EXTTEXTOUTW graphics mode field.
constexpr quint32 GmCompatible = 1;

}  // namespace ortolan::metafile::emf
