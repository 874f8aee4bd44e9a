#pragma once

#include "data/LittleEndianWriter.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace ortolan::data {

// The shared string table of a BIFF8 workbook: every distinct cell text once,
// referenced by index from LABELSST cells. Written as an SST record, continued
// in CONTINUE records past 8224 bytes, followed by the EXTSST index that Excel
// uses to find strings quickly.
class Biff8SharedStrings {
public:
    // Index of text in the table (added on first use); each call counts one
    // cell reference. Text longer than a cell may hold is cut.
    std::uint32_t add(const QString &text);

    int uniqueCount() const { return int(strings_.size()); }
    std::uint32_t referenceCount() const { return references_; }

    // Appends SST, its CONTINUE records and EXTSST. Positions are taken from
    // out: it must hold the workbook stream from its first byte.
    void write(LittleEndianWriter &out) const;

    // Strings per EXTSST bucket: at least 8, at most 128 buckets.
    static int bucketSize(int uniqueCount);

private:
    QStringList strings_;
    QHash<QString, std::uint32_t> index_;
    std::uint32_t references_ = 0;
};

}  // namespace ortolan::data
