#pragma once

#include <QString>

namespace ortolan::print {

// What a drawing-engine operation reports to its caller: success, or the kind of
// failure with a one-line message (and, where useful, a detail such as a path or
// the system's reason). Layers above decide whether and how to show it.
class OTprintResult {
public:
    enum class Code {
        Ok,
        Overflow,        // a coordinate, size or counter beyond its integer range
        DivisionByZero,  // a picture scale of 0
        PictureFailed,   // a picture file that cannot be loaded
        MetafileCreate,  // the metafile file cannot be created
        MetafileDelete,  // the metafile cannot be finished and written
        ReportFailed,    // the report script cannot be opened
        ScriptMissing,   // no report script at the path given for replay
        TooLarge,        // the page outgrows the engine's size budget
    };

    OTprintResult() = default;
    OTprintResult(Code code, QString message, QString detail = QString())
        : m_code(code), m_message(std::move(message)), m_detail(std::move(detail))
    {
    }
    static OTprintResult ok() { return OTprintResult(); }

    bool isOk() const { return m_code == Code::Ok; }
    explicit operator bool() const { return isOk(); }
    Code code() const { return m_code; }
    QString message() const { return m_message; }
    QString detail() const { return m_detail; }
    // The message followed by its detail, for logs and the command line.
    QString text() const { return m_detail.isEmpty() ? m_message : m_message + QStringLiteral(": ") + m_detail; }

private:
    Code m_code = Code::Ok;
    QString m_message;
    QString m_detail;
};

}  // namespace ortolan::print
