#include "records/RecordTableLayout.h"

namespace ortolan::records {

QString RecordTableLayout::header(int gridColumn, const QString &fieldName, bool english) const
{
    if (gridColumn < 1 || gridColumn > columns.size())
        return fieldName;
    const Column &c = columns[gridColumn - 1];
    const QString &caption = english ? c.english : c.italian;
    return caption.isEmpty() ? fieldName : caption;
}

RecordTableLayout RecordTableLayout::sites()
{
    RecordTableLayout l;
    l.columns = {
        {0, {}, {}},                                                         // CODICE_SP
        {2500, QStringLiteral("SPECIE"), QStringLiteral("SPECIES")},          // NOME_SP
        {700, {}, QStringLiteral("REGION")},                                  // REGIONE
        {700, {}, QStringLiteral("PROVINCE")},                                // PROVINCIA
        {3000, QStringLiteral("LOCALITA'"), QStringLiteral("LOCALITY")},      // LOC
        {3000, {}, QStringLiteral("SITE")},                                   // STAZIONE
        {700, {}, QStringLiteral("ELEVATION")},                               // QUOTA
        {2500, {}, QStringLiteral("SOURCE")},                                 // FONTE
        {700, {}, QStringLiteral("YEAR")},                                    // ANNO
        {700, {}, {}},                                                        // UTM
        {700, {}, QStringLiteral("PRECISION")},                               // PRECISIONE_UTM
    };
    l.firstCopyColumn = 2;  // skips the hidden code column
    return l;
}

RecordTableLayout RecordTableLayout::sources()
{
    RecordTableLayout l;
    l.columns = {
        {3000, {}, QStringLiteral("DATA SOURCE")},                                        // AUTORE
        {700, {}, QStringLiteral("YEAR")},                                                // ANNO
        {5000, QStringLiteral("TITOLO/COLLEZIONE"), QStringLiteral("TITLE/COLLECTION")},  // TITOLO
        {3000, QStringLiteral("RIVISTA/CITTA'"), QStringLiteral("JOURNAL/LOCATION")},     // PERIODICO
        {1500, QStringLiteral("DETTAGLI"), QStringLiteral("DETAILS")},                    // VOL_PAGINE
    };
    l.firstCopyColumn = 1;
    return l;
}

}  // namespace ortolan::records
