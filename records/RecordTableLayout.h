#pragma once

#include <QList>
#include <QString>

namespace ortolan::records {

// The columns of a record grid: widths and header captions per language, and
// where copy-table and the text export start. Grid column 0 is the row
// selector; grid column c > 0 shows field c - 1 of the query.
struct RecordTableLayout {
    struct Column {
        int widthTwips = 0;    // 0 hides the column
        QString italian;       // empty: the field name
        QString english;       // empty: the field name
    };
    QList<Column> columns;     // grid columns 1..n
    int firstCopyColumn = 1;   // grid column where copy-table and the text export start

    // The header of grid column c (c >= 1) in a language; fieldName when the
    // layout gives no caption.
    QString header(int gridColumn, const QString &fieldName, bool english) const;

    // The sites table (all records of a taxon or those of one square).
    static RecordTableLayout sites();
    // The data sources table.
    static RecordTableLayout sources();
};

// Screen pixels for a width in twips (1440 per inch at 96 pixels per inch).
inline int twipsToPixels(int twips)
{
    return twips / 15;
}

}  // namespace ortolan::records
