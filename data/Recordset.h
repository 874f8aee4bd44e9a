#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

namespace ortolan::data {

// The rows of one query, read in full when the query is opened, with a current
// row as the program's readers expect: moveLast() then recordCount(), then
// moveFirst() and iterate until eof(). Fields are read by ordinal or by name
// (names compare case-insensitively, as in the database). A name may be
// qualified with the table the column comes from ("Specie.COROLOGIA") when a
// query returns two fields of the same name.
//
// Values: integers are qlonglong, reals double, text QString, blobs
// QByteArray, and NULL a null QVariant.
class Recordset {
public:
    Recordset() = default;
    // tableNames: the table of each field, empty for computed fields; may be
    // left empty altogether.
    Recordset(QStringList fieldNames, std::vector<std::vector<QVariant>> rows, QStringList tableNames = {});

    int fieldCount() const { return int(names_.size()); }
    QString fieldName(int ordinal) const { return names_.value(ordinal); }
    const QStringList &fieldNames() const { return names_; }
    // The table a field comes from; empty for computed fields.
    QString tableName(int ordinal) const { return tables_.value(ordinal); }
    // Ordinal of a field by name ("name" or "table.name"), -1 when absent.
    // With two fields of one name, the plain name finds the first.
    int fieldIndex(const QString &name) const;

    int recordCount() const { return int(rows_.size()); }
    bool eof() const { return current_ >= int(rows_.size()); }
    bool bof() const { return current_ < 0 || rows_.empty(); }
    int position() const { return current_; }
    void moveFirst() { current_ = 0; }
    // Throws DataError when there are no rows (the old engine failed here too).
    void moveLast();
    void moveNext() { if (current_ < int(rows_.size())) ++current_; }
    void movePrevious() { if (current_ >= 0) --current_; }

    // Value of the current row. Throws DataError at eof/bof or for an unknown field.
    QVariant field(int ordinal) const;
    QVariant field(const QString &name) const;
    // The value as display text: null becomes an empty string.
    QString text(int ordinal) const { return field(ordinal).toString(); }
    QString text(const QString &name) const { return field(name).toString(); }
    bool isNull(int ordinal) const { return field(ordinal).isNull(); }
    bool isNull(const QString &name) const { return field(name).isNull(); }

    // Direct access to all rows (row-major), for grids and exports.
    const std::vector<std::vector<QVariant>> &rows() const { return rows_; }

private:
    QStringList names_;
    QStringList tables_;
    std::vector<std::vector<QVariant>> rows_;
    int current_ = 0;
};

}  // namespace ortolan::data
