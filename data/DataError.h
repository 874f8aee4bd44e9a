#pragma once

#include <QString>

#include <stdexcept>

namespace ortolan::data {

// A failed open, query or statement. what() is UTF-8; description() the text
// shown after MsgDataError (or another catalogue message) by the caller.
class DataError : public std::runtime_error {
public:
    explicit DataError(const QString &description)
        : std::runtime_error(description.toStdString()), description_(description) {}
    const QString &description() const { return description_; }

private:
    QString description_;
};

}  // namespace ortolan::data
