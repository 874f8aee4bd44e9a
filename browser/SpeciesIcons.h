#pragma once

#include <QString>

namespace ortolan::browser {

// Set_Icons: the pictogram of a species or subspecies node, chosen from the
// leading digits of its taxon code (the code's first three characters give the
// large group, the three characters from the fifth on separate the vertebrate
// classes). Under the Red List filter the threatened categories VU, EN and EX
// replace the group pictogram by a grey one; every other category keeps it.
//
// Returns one of the image keys of the tree ("Ins", "Oligo", ..., "Mamm",
// "Vgrey", "Egrey", "Xgrey"). Short, empty or non-numeric codes are safe:
// their missing digits read as 0.
QString Set_Icons(const QString &taxonCode, const QString &conservazione, const QString &treeFilter);

// The numeric value of a piece of a code read the way the database's own
// tools read numbers: leading blanks skipped, then digits (with an optional
// sign and decimal point); reading stops at the first other character, and a
// piece without digits is 0.
double leadingNumber(QStringView text);

}  // namespace ortolan::browser
