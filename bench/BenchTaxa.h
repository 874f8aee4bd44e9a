#pragma once

#include <QString>

namespace ortolan::bench {

// The taxa the benchmarks work on, chosen from the database by what they
// stand for, so that any generated data set serves.
struct BenchTaxa {
    QString fewSquares;     // a species of 5 to 10 squares
    QString thousandSquares; // the species closest to 1,000 squares
    QString bigGenus;       // the genus with the most squares
    QString widespread;     // the species with the most squares
    QString order;          // the order with the most families
    QString family;         // a family of about 40 species (the atlas runs)
    QString searchText;     // a name fragment for the search

    // Reads them from a database (cached per path).
    static const BenchTaxa &of(const QString &databasePath);
};

}  // namespace ortolan::bench
