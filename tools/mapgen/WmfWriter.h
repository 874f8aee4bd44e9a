#pragma once

#include <QByteArray>
#include <QColor>
#include <QPoint>

#include <vector>

namespace ortolan::mapgen {

// Writes a placeable Windows metafile (WMF): the 22-byte placeable header with
// its bounding box and units per inch, the 18-byte metafile header and 16-bit
// records, all little-endian. Logical coordinates are 16-bit; the window is
// set to (0, 0)-(width, height) in MM_ANISOTROPIC, so the picture's natural
// size is width / unitsPerInch by height / unitsPerInch inches.
class WmfWriter {
public:
    enum FillMode { Alternate = 1, Winding = 2 };

    WmfWriter(int width, int height, int unitsPerInch);

    // Object creation returns the index of the object in the metafile's
    // object table (the lowest free slot, as players assign them).
    int createPen(const QColor &colour, int width);
    int createNullPen();
    int createBrush(const QColor &colour);
    int createNullBrush();
    void selectObject(int index);
    void deleteObject(int index);

    void setPolyFillMode(FillMode mode);
    void polygon(const std::vector<QPoint> &points);
    void polyPolygon(const std::vector<std::vector<QPoint>> &rings);
    void polyline(const std::vector<QPoint> &points);

    // The whole file: headers, records and the end-of-file record.
    QByteArray finish();

    // The largest number of points a polygon or polyline record can hold.
    static constexpr int kMaxPoints = 32767;

private:
    void record(quint16 function, const QByteArray &params);
    int allocateObject();

    int m_width;
    int m_height;
    int m_unitsPerInch;
    QByteArray m_records;
    quint32 m_maxRecordWords = 0;
    std::vector<bool> m_objects;  // used slots of the object table
};

}  // namespace ortolan::mapgen
