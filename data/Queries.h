#pragma once

#include <QString>

// The query catalogue: every SQL text the program sends, kept as the program's
// dialect writes it (bracketed names, like with * and ?, -1 for true). Codes,
// names and search texts are inserted through quoted(), so an apostrophe can
// never change a query's structure.
//
// `filter` is one of the TreeFilter values ("Tutto", "Invertebrati",
// "Vertebrati", "DirHabitat", "RedList", "Aliene").
namespace ortolan::data::queries {

// Text inserted into a quoted SQL literal: every ' doubled.
QString quoted(const QString &text);

// Tree: first level under a filter (groups of Taxa); empty for an unknown filter
// (the caller keeps the text it used before).
QString firstLevel(const QString &filter);
// Tree: genera and species of a family (15-character group code) under a filter.
// "Invertebrati" and "Vertebrati" use the unfiltered text.
QString familyTaxa(const QString &familyCode, const QString &filter);
// Sort command: the same family listing in the sort command's own wording.
QString familyTaxaForSort(const QString &familyCode, const QString &filter);
// Sort command: groups below a group code under a filter.
QString groupsBelow(const QString &groupCode, const QString &filter);
// Sort command: taxa below a genus (10-character genus code) under a filter.
QString genusTaxa(const QString &genusCode, const QString &filter);

// Data owner of a species ("Biblio" command).
QString dataOwner(const QString &taxonCode);
// Species card: one row of Specie, Corotipi and Referenti.Specialista.
QString speciesCard(const QString &taxonCode);
// Sites table: the records of a taxon and its subordinate taxa.
QString sitesOfTaxon(const QString &taxonCode);
// Sites table of one square (click on a dot).
QString sitesInSquare(const QString &taxonCode, const QString &square);
// Data sources of a species for its data owner.
QString dataSources(const QString &dataOwner, const QString &taxonCode);
// Distinct squares of a taxon and its subordinate taxa for the map.
QString mapSquares(const QString &taxonCode);

// Batch atlas: the genera, species and subspecies filed under a group and the
// groups below it (every row whose group code begins with groupCode), and
// those whose own code begins with taxonCode (a genus or species and the taxa
// below it); codice_sp, nome_sp, autore in code order.
QString taxaOfGroup(const QString &groupCode);
QString taxaFrom(const QString &taxonCode);
// Batch atlas: the latest year among the records of a taxon and its
// subordinate taxa (one row, ANNO null when none is dated).
QString latestYear(const QString &taxonCode);

// Search by name under a filter; text may hold the wildcards * and ?. An
// unknown filter searches everything.
QString searchByName(const QString &text, const QString &filter);
// Taxon by exact name; group name by code (search window).
QString taxonByName(const QString &name);
QString groupName(const QString &groupCode);

// Explanations window: "SELECT * FROM " + table + " ORDER BY " + field + ";".
// Table and field names are bracketed so names with blanks work.
QString explanationList(const QString &table, const QString &orderField);

// Exports. Paths, folders, file and sheet names go into the bracketed connect
// text of a select-into statement, with "]" written as "]]" (SelectInto reads
// it back), so folders such as "maps [2024]" work.

// Sites table, Excel export of all records of a taxon: workbook path ending
// in ".xls"; sheet "Stazioni" (Italian) or "Sites" (English) with the field
// names of the language.
QString sitesToExcel(const QString &workbookPath, const QString &taxonCode, bool english);

// The per-square aggregate columns of the map and points export:
// "Count(Stazioni.STAZIONE) AS STAZIONI, Max(Stazioni.ANNO) AS ANNO" or
// "... AS SITES, ... AS YEAR".
QString squareAggregates(bool english);
// Occupied squares of a taxon with their count, latest year and centre:
// the text export's query, and the same into an Excel workbook
// (outputName + ".xls", sheet "Stazioni"/"Sites") or a dBase table
// (folder, bare outputName).
QString occupiedSquares(const QString &taxonCode, bool english);
QString occupiedSquaresToExcel(const QString &outputName, const QString &taxonCode, bool english);
QString occupiedSquaresToDbase(const QString &folder, const QString &outputName, const QString &taxonCode,
                               bool english);
// The shapefile export: the saved query "Esporta" (per-square counts of the
// taxon) and the statement that writes one row per square of QuadUTM, with
// the counts joined from "Esporta", as the shapefile's attribute table, in
// the order of QuadUTM's rows (the template's order: "ORDER BY QuadUTM.rowid").
QString esportaName();
QString esportaQuery(const QString &taxonCode, bool english);
QString allSquaresToDbase(const QString &folder, const QString &outputName, bool english);

}  // namespace ortolan::data::queries
