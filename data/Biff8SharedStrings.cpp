#include "data/Biff8SharedStrings.h"

#include "data/Biff8Records.h"

#include <vector>

namespace ortolan::data {

namespace {

using namespace biff8;

// Writes records of at most MaxRecordBody bytes, opening a CONTINUE record
// when the current one is full.
class ContinuedRecord {
public:
    ContinuedRecord(LittleEndianWriter &out, std::uint16_t firstId) : out_(out) { open(firstId); }
    ~ContinuedRecord() { endRecord(out_, lengthAt_); }

    qsizetype room() const { return MaxRecordBody - (out_.size() - lengthAt_ - 2); }
    // Offset of the next byte from the start of the current record, header included.
    qsizetype offsetInRecord() const { return out_.size() - (lengthAt_ - 2); }
    void continueRecord()
    {
        endRecord(out_, lengthAt_);
        open(id::Continue);
    }

private:
    void open(std::uint16_t recordId) { lengthAt_ = beginRecord(out_, recordId); }
    LittleEndianWriter &out_;
    qsizetype lengthAt_ = 0;
};

struct Bucket {
    std::uint32_t streamPosition;
    std::uint16_t offsetInRecord;
};

}  // namespace

std::uint32_t Biff8SharedStrings::add(const QString &text)
{
    ++references_;
    QString cell = text.left(MaxCellText);
    if (cell.size() == MaxCellText && cell.back().isHighSurrogate())
        cell.chop(1);
    const auto it = index_.constFind(cell);
    if (it != index_.constEnd())
        return *it;
    const auto index = std::uint32_t(strings_.size());
    strings_ << cell;
    index_.insert(cell, index);
    return index;
}

int Biff8SharedStrings::bucketSize(int uniqueCount)
{
    return std::max(8, (uniqueCount + 127) / 128);
}

void Biff8SharedStrings::write(LittleEndianWriter &out) const
{
    const int perBucket = bucketSize(uniqueCount());
    std::vector<Bucket> buckets;
    {
        ContinuedRecord record(out, id::Sst);
        out.u32(references_);
        out.u32(std::uint32_t(strings_.size()));
        for (int i = 0; i < strings_.size(); ++i) {
            const QString &s = strings_[i];
            const bool wide = !isLatin1(s);
            const int charSize = wide ? 2 : 1;
            // The string's header and its first character stay together.
            if (record.room() < 3 + (s.isEmpty() ? 0 : charSize))
                record.continueRecord();
            if (i % perBucket == 0)
                buckets.push_back({std::uint32_t(out.size()), std::uint16_t(record.offsetInRecord())});
            out.u16(std::uint16_t(s.size()));
            out.u8(wide ? 1 : 0);
            qsizetype done = 0;
            while (done < s.size()) {
                if (record.room() < charSize) {
                    // A string split over records restates its option flags.
                    record.continueRecord();
                    out.u8(wide ? 1 : 0);
                }
                qsizetype count = std::min<qsizetype>(s.size() - done, record.room() / charSize);
                if (count > 1 && done + count < s.size() && s[done + count - 1].isHighSurrogate())
                    --count;  // keep a surrogate pair in one record
                characters(out, QStringView(s).mid(done, count), wide);
                done += count;
            }
        }
    }
    const qsizetype at = beginRecord(out, id::ExtSst);
    out.u16(std::uint16_t(perBucket));
    for (const Bucket &b : buckets) {
        out.u32(b.streamPosition);
        out.u16(b.offsetInRecord);
        out.u16(0);
    }
    endRecord(out, at);
}

}  // namespace ortolan::data
