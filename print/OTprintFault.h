#pragma once

#include "print/OTprintNumbers.h"
#include "print/OTprintResult.h"

#include <QString>

#include <exception>

namespace ortolan::print {

// Thrown inside the drawing engine when an operation cannot go on (an integer
// overflow, a division by zero, a picture that does not load). Every public
// operation of OTprint catches it and returns its result, so it never leaves the
// engine. Internal to print/.
class OTprintFault : public std::exception {
public:
    explicit OTprintFault(OTprintResult result) : m_result(std::move(result)) {}
    const OTprintResult &result() const { return m_result; }
    const char *what() const noexcept override { return "drawing engine fault"; }

    static OTprintFault overflow(const QString &what)
    {
        return OTprintFault(OTprintResult(OTprintResult::Code::Overflow, QStringLiteral("Overflow"), what));
    }

    // v rounded (halves to even) as a 32-bit integer, or an overflow fault.
    static qint32 int32(double v, const QString &what = QString())
    {
        const auto r = OTprintNumbers::toInt32(v);
        if (!r)
            throw overflow(what);
        return *r;
    }

    // v rounded as a 16-bit integer, or an overflow fault.
    static qint16 int16(double v, const QString &what = QString())
    {
        const auto r = OTprintNumbers::toInt16(v);
        if (!r)
            throw overflow(what);
        return *r;
    }

private:
    OTprintResult m_result;
};

}  // namespace ortolan::print
