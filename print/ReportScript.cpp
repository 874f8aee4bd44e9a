#include "print/ReportScript.h"

#include "print/OTprint.h"
#include "print/OTprintNumbers.h"

#include <QFile>
#include <QStringDecoder>

#include <cctype>
#include <charconv>
#include <cmath>
#include <string>

namespace ortolan::print {

// --- writing --------------------------------------------------------------------------------

QString ReportScript::field(qint32 value)
{
    return QString::number(value);
}

QString ReportScript::field(float angle)
{
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, angle);
    if (ec != std::errc())
        return QStringLiteral("0");
    return QString::fromLatin1(buffer, end - buffer);
}

QString ReportScript::field(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString ReportScript::field(const QString &text)
{
    QString out = text;
    out.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return out;
}

QString ReportScript::line(const QString &keyword, const QStringList &fields)
{
    if (fields.isEmpty())
        return keyword;
    return keyword + QLatin1Char('_') + fields.join(QLatin1Char('_'));
}

QByteArray ReportScript::encode(const QString &line)
{
    return line.toUtf8() + QByteArrayLiteral("\r\n");
}

QString ReportScript::decode(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder legacy("windows-1252");
    if (legacy.isValid()) {
        const QString old = legacy.decode(bytes);
        if (!legacy.hasError())
            return old;
    }
    return QString::fromLatin1(bytes);
}

// --- reading fields -------------------------------------------------------------------------

namespace {

// A decimal number: optional sign, digits with an optional fraction after "." or
// ",", an optional exponent; surrounding spaces allowed.
std::optional<double> toNumber(QStringView text)
{
    const QStringView t = text.trimmed();
    if (t.isEmpty() || t.size() > 400)
        return std::nullopt;
    std::string s;
    s.reserve(size_t(t.size()));
    for (const QChar c : t) {
        if (c.unicode() > 127)
            return std::nullopt;
        s.push_back(c == QLatin1Char(',') ? '.' : char(c.unicode()));
    }
    size_t i = 0;
    bool negative = false;
    if (s[i] == '+' || s[i] == '-')
        negative = s[i++] == '-';
    const size_t start = i;
    size_t digits = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
        ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
            ++i, ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
        size_t expDigits = 0;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
            ++i, ++expDigits;
        if (expDigits == 0)
            return std::nullopt;
    }
    if (i != s.size())
        return std::nullopt;
    double value = 0;
    const auto [end, ec] = std::from_chars(s.data() + start, s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

}  // namespace

std::optional<qint32> ReportScript::toInteger(QStringView text)
{
    const std::optional<double> v = toNumber(text);
    if (!v)
        return std::nullopt;
    return OTprintNumbers::toInt32(*v);
}

std::optional<float> ReportScript::toAngle(QStringView text)
{
    const std::optional<qint32> whole = toInteger(text);
    if (!whole)
        return std::nullopt;
    return float(*whole);
}

std::optional<bool> ReportScript::toBoolean(QStringView text)
{
    const QStringView t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    const std::optional<double> v = toNumber(t);
    if (!v)
        return std::nullopt;
    return *v != 0;
}

// --- the keyword table ------------------------------------------------------------------------

namespace {

// A field that does not convert: the line is skipped.
struct BadField {
    int index;
};

// The converted arguments of one line (field 0 is the keyword).
struct Args {
    const QStringList &fields;

    qint32 i(int k) const
    {
        const auto v = ReportScript::toInteger(fields.at(k));
        if (!v)
            throw BadField{k};
        return *v;
    }
    float a(int k) const
    {
        const auto v = ReportScript::toAngle(fields.at(k));
        if (!v)
            throw BadField{k};
        return *v;
    }
    bool b(int k) const
    {
        const auto v = ReportScript::toBoolean(fields.at(k));
        if (!v)
            throw BadField{k};
        return *v;
    }
    const QString &s(int k) const { return fields.at(k); }
};

struct Entry {
    const char *keyword;
    int fields;
    OTprintResult (*run)(OTprint &, const Args &);
};

template <void (OTprint::*Setter)(int)>
OTprintResult setInt(OTprint &e, const Args &f)
{
    (e.*Setter)(f.i(1));
    return OTprintResult::ok();
}

// Arguments are converted left to right before the call is made, so a line with
// any bad field performs nothing.
const Entry Table[] = {
    {"OpenMeta", 6, [](OTprint &e, const Args &f) { return e.OpenMeta(f.s(1), f.i(2), f.i(3), f.i(4), f.i(5)); }},
    {"CloseMeta", 1, [](OTprint &e, const Args &) { return e.CloseMeta(); }},
    {"Bitmap", 5, [](OTprint &e, const Args &f) { return e.Bitmap(f.s(1), f.i(2), f.i(3), f.i(4)); }},
    {"Emf", 5, [](OTprint &e, const Args &f) { return e.Emf(f.s(1), f.i(2), f.i(3), f.i(4)); }},
    {"Wmf", 5, [](OTprint &e, const Args &f) { return e.Wmf(f.s(1), f.i(2), f.i(3), f.i(4)); }},
    {"TextBox", 12,
     [](OTprint &e, const Args &f) {
         return e.TextBox(f.s(1), f.i(2), f.i(3), f.i(4), f.i(5), f.i(6), f.i(7), f.s(8), f.i(9), f.i(10), f.i(11));
     }},
    {"SetText", 8,
     [](OTprint &e, const Args &f) { return e.SetText(f.s(1), f.i(2), f.i(3), f.i(4), f.i(5), f.s(6), f.i(7)); }},
    {"Table", 11,
     [](OTprint &e, const Args &f) {
         return e.Table(f.i(1), f.i(2), f.i(3), f.i(4), f.i(5), f.i(6), f.i(7), f.i(8), f.i(9), f.i(10));
     }},
    {"LCircle", 7, [](OTprint &e, const Args &f) { return e.L_Circle(f.i(1), f.i(2), f.i(3), f.i(4), f.i(5), f.i(6)); }},
    {"FCircle", 5, [](OTprint &e, const Args &f) { return e.F_Circle(f.i(1), f.i(2), f.i(3), f.i(4)); }},
    {"LFCircle", 8,
     [](OTprint &e, const Args &f) { return e.LF_Circle(f.i(1), f.i(2), f.i(3), f.i(4), f.i(5), f.i(6), f.i(7)); }},
    {"LEllipse", 9,
     [](OTprint &e, const Args &f) {
         return e.L_Ellipse(f.i(1), f.i(2), f.i(3), f.i(4), f.i(5), f.i(6), f.i(7), f.i(8));
     }},
    {"FEllipse", 7,
     [](OTprint &e, const Args &f) { return e.F_Ellipse(f.i(1), f.i(2), f.i(3), f.i(4), f.i(5), f.i(6)); }},
    {"LFEllipse", 10,
     [](OTprint &e, const Args &f) {
         return e.LF_Ellipse(f.i(1), f.i(2), f.i(3), f.i(4), f.i(5), f.i(6), f.i(7), f.i(8), f.i(9));
     }},
    {"LArc", 9,
     [](OTprint &e, const Args &f) { return e.L_Arc(f.i(1), f.i(2), f.i(3), f.a(4), f.a(5), f.i(6), f.i(7), f.i(8)); }},
    {"LChord", 9,
     [](OTprint &e, const Args &f) {
         return e.L_Chord(f.i(1), f.i(2), f.i(3), f.a(4), f.a(5), f.i(6), f.i(7), f.i(8));
     }},
    {"LFChord", 10,
     [](OTprint &e, const Args &f) {
         return e.LF_Chord(f.i(1), f.i(2), f.i(3), f.a(4), f.a(5), f.i(6), f.i(7), f.i(8), f.i(9));
     }},
    {"FChord", 7, [](OTprint &e, const Args &f) { return e.F_Chord(f.i(1), f.i(2), f.i(3), f.a(4), f.a(5), f.i(6)); }},
    {"LPie", 9,
     [](OTprint &e, const Args &f) { return e.L_Pie(f.i(1), f.i(2), f.i(3), f.a(4), f.a(5), f.i(6), f.i(7), f.i(8)); }},
    {"LFPie", 10,
     [](OTprint &e, const Args &f) {
         return e.LF_Pie(f.i(1), f.i(2), f.i(3), f.a(4), f.a(5), f.i(6), f.i(7), f.i(8), f.i(9));
     }},
    {"FPie", 7, [](OTprint &e, const Args &f) { return e.F_Pie(f.i(1), f.i(2), f.i(3), f.a(4), f.a(5), f.i(6)); }},
    {"LFBox", 9,
     [](OTprint &e, const Args &f) {
         return e.LF_Box(f.i(1), f.i(2), f.i(3), f.i(4), f.i(5), f.i(6), f.i(7), f.i(8));
     }},
    {"FBox", 6, [](OTprint &e, const Args &f) { return e.F_Box(f.i(1), f.i(2), f.i(3), f.i(4), f.i(5)); }},
    {"LBox", 8,
     [](OTprint &e, const Args &f) { return e.L_Box(f.i(1), f.i(2), f.i(3), f.i(4), f.i(5), f.i(6), f.i(7)); }},
    {"LRoundBox", 10,
     [](OTprint &e, const Args &f) {
         return e.L_RoundBox(f.i(1), f.i(2), f.i(3), f.i(4), f.i(5), f.i(6), f.i(7), f.i(8), f.i(9));
     }},
    {"FRoundBox", 8,
     [](OTprint &e, const Args &f) {
         return e.F_RoundBox(f.i(1), f.i(2), f.i(3), f.i(4), f.i(5), f.i(6), f.i(7));
     }},
    {"LFRoundBox", 11,
     [](OTprint &e, const Args &f) {
         return e.LF_RoundBox(f.i(1), f.i(2), f.i(3), f.i(4), f.i(5), f.i(6), f.i(7), f.i(8), f.i(9), f.i(10));
     }},
    {"FRectangle", 7,
     [](OTprint &e, const Args &f) { return e.F_Rectangle(f.i(1), f.i(2), f.i(3), f.i(4), f.a(5), f.i(6)); }},
    {"LFRectangle", 10,
     [](OTprint &e, const Args &f) {
         return e.LF_Rectangle(f.i(1), f.i(2), f.i(3), f.i(4), f.a(5), f.i(6), f.i(7), f.i(8), f.i(9));
     }},
    {"LRectangle", 9,
     [](OTprint &e, const Args &f) {
         return e.L_Rectangle(f.i(1), f.i(2), f.i(3), f.i(4), f.a(5), f.i(6), f.i(7), f.i(8));
     }},
    {"LDecoBox", 9,
     [](OTprint &e, const Args &f) {
         return e.L_DecoBox(f.i(1), f.i(2), f.i(3), f.i(4), f.s(5), f.s(6), f.i(7), f.i(8));
     }},
    {"LFDecoBox", 9,
     [](OTprint &e, const Args &f) {
         return e.LF_DecoBox(f.i(1), f.i(2), f.i(3), f.i(4), f.s(5), f.s(6), f.i(7), f.i(8));
     }},
    {"FDecoBox", 9,
     [](OTprint &e, const Args &f) {
         return e.F_DecoBox(f.i(1), f.i(2), f.i(3), f.i(4), f.s(5), f.s(6), f.i(7), f.i(8));
     }},
    {"LPolygon", 9,
     [](OTprint &e, const Args &f) {
         return e.L_Polygon(f.i(1), f.i(2), f.i(3), f.i(4), f.a(5), f.i(6), f.i(7), f.i(8));
     }},
    {"FPolygon", 7,
     [](OTprint &e, const Args &f) { return e.F_Polygon(f.i(1), f.i(2), f.i(3), f.i(4), f.a(5), f.i(6)); }},
    {"LFPolygon", 10,
     [](OTprint &e, const Args &f) {
         return e.LF_Polygon(f.i(1), f.i(2), f.i(3), f.i(4), f.a(5), f.i(6), f.i(7), f.i(8), f.i(9));
     }},
    {"LStar", 10,
     [](OTprint &e, const Args &f) {
         return e.L_Star(f.i(1), f.i(2), f.i(3), f.i(4), f.i(5), f.a(6), f.i(7), f.i(8), f.i(9));
     }},
    {"LFStar", 11,
     [](OTprint &e, const Args &f) {
         return e.LF_Star(f.i(1), f.i(2), f.i(3), f.i(4), f.i(5), f.a(6), f.i(7), f.i(8), f.i(9), f.i(10));
     }},
    {"FStar", 8,
     [](OTprint &e, const Args &f) { return e.F_Star(f.i(1), f.i(2), f.i(3), f.i(4), f.i(5), f.a(6), f.i(7)); }},
    {"LLine", 8,
     [](OTprint &e, const Args &f) { return e.L_Line(f.i(1), f.i(2), f.i(3), f.i(4), f.i(5), f.i(6), f.i(7)); }},
    {"Vector", 8,
     [](OTprint &e, const Args &f) { return e.Vector(f.i(1), f.i(2), f.i(3), f.a(4), f.i(5), f.i(6), f.i(7)); }},
    {"LGrid", 10,
     [](OTprint &e, const Args &f) {
         return e.L_Grid(f.i(1), f.i(2), f.i(3), f.i(4), f.i(5), f.i(6), f.i(7), f.i(8), f.i(9));
     }},
    {"LineWidth", 2, setInt<&OTprint::setLineWidth>},
    {"LineStyle", 2, setInt<&OTprint::setLineStyle>},
    {"LineColor", 2, setInt<&OTprint::setLineColor>},
    {"FillStyle", 2, setInt<&OTprint::setFillStyle>},
    {"FillColor", 2, setInt<&OTprint::setFillColor>},
    {"GradientType", 2, setInt<&OTprint::setGradientType>},
    {"GradientFill", 2,
     [](OTprint &e, const Args &f) {
         e.setGradientFill(f.b(1));
         return OTprintResult::ok();
     }},
    {"GradientAngle", 2, setInt<&OTprint::setGradientAngle>},
    {"BeginColor", 2, setInt<&OTprint::setBeginColor>},
    {"EndColor", 2, setInt<&OTprint::setEndColor>},
};

const Entry *entryOf(const QString &keyword)
{
    for (const Entry &e : Table)
        if (keyword == QLatin1String(e.keyword))
            return &e;
    return nullptr;
}

}  // namespace

QStringList ReportScript::keywords()
{
    QStringList out;
    for (const Entry &e : Table)
        out << QString::fromLatin1(e.keyword);
    return out;
}

int ReportScript::fieldCount(const QString &keyword)
{
    const Entry *e = entryOf(keyword);
    return e ? e->fields : 0;
}

// --- replay -----------------------------------------------------------------------------------

ReportScript::Outcome ReportScript::perform(OTprint &engine, const QString &line, QString *why)
{
    const QStringList fields = line.split(QLatin1Char('_'));
    const Entry *entry = entryOf(fields.first());
    if (!entry) {
        if (why)
            *why = line.isEmpty() ? QStringLiteral("empty line") : QStringLiteral("unknown keyword");
        return Outcome::Skipped;
    }
    if (fields.size() != entry->fields) {
        if (why)
            *why = QStringLiteral("%1 fields where %2 takes %3").arg(fields.size()).arg(fields.first()).arg(entry->fields);
        return Outcome::Skipped;
    }
    OTprintResult result;
    try {
        result = entry->run(engine, Args{fields});
    } catch (const BadField &bad) {
        if (why)
            *why = QStringLiteral("field %1 (\"%2\") does not convert").arg(bad.index + 1).arg(fields.at(bad.index).left(40));
        return Outcome::Skipped;
    }
    if (!result) {
        if (why)
            *why = result.text();
        return Outcome::Failed;
    }
    return Outcome::Performed;
}

OTprintResult ReportScript::replay(OTprint &engine, const QString &path, Summary *summary)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return OTprintResult(OTprintResult::Code::ScriptMissing, QStringLiteral("The report script cannot be read"),
                             path + QStringLiteral(" (") + file.errorString() + QStringLiteral(")"));
    }
    Summary local;
    Summary &s = summary ? *summary : local;
    s = Summary();
    auto note = [&s](const QString &text) {
        if (s.notes.size() < MaxNotes)
            s.notes << QStringLiteral("line %1: %2").arg(s.lines).arg(text);
    };
    auto handle = [&](const QByteArray &bytes) {
        ++s.lines;
        QString why;
        switch (perform(engine, decode(bytes), &why)) {
        case Outcome::Performed:
            ++s.performed;
            break;
        case Outcome::Failed:
            ++s.failed;
            note(why);
            break;
        case Outcome::Skipped:
            ++s.skipped;
            if (!bytes.isEmpty())
                note(why);
            break;
        }
    };

    // One buffer for every line: reading each line into a fresh buffer of the
    // largest line size would allocate (and release) a megabyte per line.
    QByteArray buffer(MaxLineBytes + 1, Qt::Uninitialized);
    auto readLine = [&file, &buffer]() {
        const qint64 n = file.readLine(buffer.data(), buffer.size());
        return n > 0 ? QByteArray(buffer.constData(), qsizetype(n)) : QByteArray();
    };
    bool first = true;
    while (!file.atEnd()) {
        QByteArray chunk = readLine();
        if (chunk.isEmpty())
            break;
        if (!chunk.endsWith('\n') && !file.atEnd()) {
            // An overlong line: read on to its end and skip it.
            do {
                chunk = readLine();
            } while (!chunk.isEmpty() && !chunk.endsWith('\n') && !file.atEnd());
            ++s.lines;
            ++s.skipped;
            note(QStringLiteral("line longer than %1 bytes").arg(MaxLineBytes));
            continue;
        }
        if (chunk.endsWith('\n'))
            chunk.chop(1);
        if (first && chunk.startsWith("\xEF\xBB\xBF"))
            chunk.remove(0, 3);
        first = false;
        // Lines end in CR LF; a lone CR or LF ends a line as well.
        const QList<QByteArray> parts = chunk.split('\r');
        for (qsizetype i = 0; i < parts.size(); ++i) {
            if (i == parts.size() - 1 && parts.size() > 1 && parts[i].isEmpty())
                break;  // the CR of CR LF
            handle(parts[i]);
        }
    }
    return OTprintResult::ok();
}

}  // namespace ortolan::print
