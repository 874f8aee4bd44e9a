#pragma once

#include "data/Recordset.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace ortolan::records {

// The labelled rows of the species card: caption in both languages, the
// controls of the row and the fields they show (read by name from the one
// row of the card query; "Specie.Corologia" is qualified because the
// chorotype table has a field of the same name).
struct SpeciesCardField {
    QString label;      // Label_01 ...
    QString italian;
    QString english;
    QStringList controls;  // Text_01 ..., Check_01 ...; empty for a heading
    QStringList fields;    // one per control
    bool isCheck = false;

    static const QList<SpeciesCardField> &all();

    // The values of the row's fields in the card's current row: texts, or
    // "-1"/"0" for check boxes read as checked/clear. Empty texts and clear
    // boxes when the recordset has no row.
    QStringList values(const data::Recordset &card) const;
};

// A yes/no value of the database as a check box state: -1 (any non-zero) checked.
bool isChecked(const QVariant &value);

}  // namespace ortolan::records
