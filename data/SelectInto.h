#pragma once

#include <QString>

#include <optional>

namespace ortolan::data {

// An external table named by a select-into statement.
struct ExternalTable {
    enum class Kind { DBase, Excel };
    Kind kind = Kind::DBase;
    // dBase: the folder that holds the table; Excel: the workbook's path.
    QString database;
    // dBase: the table's file name without ".dbf"; Excel: the sheet's name.
    QString table;

    // The file written: folder/table.dbf (".dbf" not doubled) or the workbook.
    QString filePath() const;
};

// A select-into statement split into its parts:
//   SELECT ... INTO [dBase IV;DATABASE=folder].[name] FROM ...
//   SELECT ... INTO [Excel 5.0;DATABASE=path].[sheet] FROM ...  (also Excel 8.0)
struct SelectInto {
    QString select;  // the statement without its INTO clause
    ExternalTable target;

    // nullopt when sql is not a select-into statement (no INTO at the top
    // level of a SELECT). Throws DataError when it is one but its target
    // cannot be understood: a missing or unclosed [connect].[name] pair, an
    // unknown file type, no DATABASE, an empty name, or a dBase name that
    // holds a path separator.
    static std::optional<SelectInto> parse(const QString &sql);
};

}  // namespace ortolan::data
