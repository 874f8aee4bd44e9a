#pragma once

#include "print/OTprintResult.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace ortolan::print {

class OTprint;

// The report script of the drawing engine: one call of an OTprint object per
// line, the keyword and its arguments joined by underscores ("LineWidth_3",
// "LFBox_100_100_500_300_2_255_0_16777215", "CloseMeta"), lines ending in CR LF.
// There is no quoting: a text holding an underscore makes its line unreadable,
// and such a line is skipped on replay like any line whose keyword or field
// count is not in the table.
//
// Scripts are written in UTF-8; lines that are not valid UTF-8 are read as
// Windows-1252, the code page older scripts were written in.
class ReportScript {
public:
    // Argument fields as the recorder writes them.
    static QString field(qint32 value);
    // Shortest decimal text of the single-precision angle, "." as decimal point.
    static QString field(float angle);
    static QString field(bool value);  // "True" or "False"
    // Texts as they are; a line break would end the script line, so CR and LF
    // are written as spaces.
    static QString field(const QString &text);

    // One script line (without its line end): the keyword alone, or the keyword
    // and the fields joined by underscores.
    static QString line(const QString &keyword, const QStringList &fields);
    // The bytes of a line in a script file: UTF-8 followed by CR LF.
    static QByteArray encode(const QString &line);
    // Text of one line read from a file (line end already removed).
    static QString decode(const QByteArray &bytes);

    // Conversions of the replay. Integers: decimal text, optionally signed, with
    // surrounding spaces; a fraction ("." or ",") or an exponent is rounded to the
    // nearest integer, halves to even; nothing when the text is no number or the
    // value leaves the 32-bit range.
    static std::optional<qint32> toInteger(QStringView text);
    // Angles go through an integer first, so "22.5" gives 22 degrees.
    static std::optional<float> toAngle(QStringView text);
    // "True"/"False" in any letter case, or a number (non-zero is true).
    static std::optional<bool> toBoolean(QStringView text);

    // The keywords of the script, in the order the reader tries them, and the
    // number of fields of each (the keyword included); 0 for an unknown keyword.
    static QStringList keywords();
    static int fieldCount(const QString &keyword);

    enum class Outcome {
        Performed,  // the call ran and succeeded
        Failed,     // the call ran and reported an error (drawing goes on)
        Skipped,    // unknown keyword, wrong field count or a field that does not convert
    };
    // Performs one script line on engine. *why receives the reason of a skip or a failure.
    static Outcome perform(OTprint &engine, const QString &line, QString *why = nullptr);

    // What a replay did.
    struct Summary {
        int lines = 0;
        int performed = 0;
        int failed = 0;
        int skipped = 0;  // empty lines included
        QStringList notes;  // "line N: reason" for the first skipped or failed lines
    };
    // Reads the script at path line by line and performs each line on engine;
    // lines longer than MaxLineBytes are skipped. Returns ScriptMissing when the
    // file cannot be read.
    static OTprintResult replay(OTprint &engine, const QString &path, Summary *summary = nullptr);

    static constexpr qsizetype MaxLineBytes = 1 << 20;
    static constexpr int MaxNotes = 50;
};

}  // namespace ortolan::print
