#include "data/Queries.h"

#include "app/Settings.h"

namespace ortolan::data::queries {

namespace {

QString q(const QString &text)
{
    return quoted(text);
}

QString bracketed(QString name)
{
    name.remove(u'[');
    name.remove(u']');
    return QStringLiteral("[") + name + QStringLiteral("]");
}

// Text inside the brackets of a select-into's connect text or table name.
QString intoText(const QString &text)
{
    QString result = text;
    result.replace(QStringLiteral("]"), QStringLiteral("]]"));
    return result;
}

}  // namespace

QString quoted(const QString &text)
{
    QString result = text;
    result.replace(QStringLiteral("'"), QStringLiteral("''"));
    return result;
}

QString firstLevel(const QString &filter)
{
    if (filter == Filter::All)
        return QStringLiteral("SELECT [codice_gr],[nome_gr] FROM [Taxa] ORDER BY [codice_gr]");
    if (filter == Filter::Invertebrates)
        return QStringLiteral("SELECT [codice_gr],[nome_gr] FROM [Taxa] WHERE [codice_gr] not like '037*' ORDER BY [codice_gr]");
    if (filter == Filter::Vertebrates)
        return QStringLiteral("SELECT [codice_gr],[nome_gr] FROM [Taxa] WHERE [codice_gr] like '037*' ORDER BY [codice_gr]");
    if (filter == Filter::HabitatDirective)
        return QStringLiteral("SELECT [codice_gr],[nome_gr],[dir_habitat] FROM [Taxa] WHERE [dir_habitat] = -1 ORDER BY [codice_gr]");
    if (filter == Filter::RedList)
        return QStringLiteral("SELECT [codice_gr],[nome_gr],[red_list] FROM [Taxa] WHERE [red_list] = -1 ORDER BY [codice_gr]");
    if (filter == Filter::Alien)
        return QStringLiteral("SELECT [codice_gr],[nome_gr],[introdotta] FROM [Taxa] WHERE [introdotta] = -1 ORDER BY [codice_gr]");
    return QString();
}

QString familyTaxa(const QString &familyCode, const QString &filter)
{
    QString head;
    if (filter == Filter::HabitatDirective)
        head = QStringLiteral("SELECT [codice_sp],[nome_sp],[autore],[codice_gr],[dir_habitat] FROM [Specie] where [dir_habitat] = -1 and [codice_gr]='");
    else if (filter == Filter::Alien)
        head = QStringLiteral("SELECT [codice_sp],[nome_sp],[autore],[codice_gr],[introdotta] FROM [Specie] where [introdotta] = -1 and [codice_gr]='");
    else if (filter == Filter::RedList)
        head = QStringLiteral("SELECT [codice_sp],[nome_sp],[autore],[codice_gr],[conservazione] FROM [Specie] where ([Conservazione]='C' OR [Conservazione] like 'V*' or [Conservazione] like 'E*' or [Conservazione] like 'X*') AND [codice_gr]='");
    else
        head = QStringLiteral("SELECT [codice_sp],[nome_sp],[autore],[codice_gr] FROM [Specie] where [codice_gr]='");
    return head + q(familyCode) + QStringLiteral("' ORDER BY [codice_sp];");
}

QString familyTaxaForSort(const QString &familyCode, const QString &filter)
{
    QString head;
    if (filter == Filter::RedList)
        head = QStringLiteral("SELECT [codice_sp],[nome_sp],[autore],[codice_gr],[Conservazione] FROM [Specie] WHERE ([Conservazione] like 'C' or [Conservazione] like 'V*' or [Conservazione] like 'E*' or [Conservazione] like 'X*') and [codice_gr]='");
    else if (filter == Filter::HabitatDirective)
        head = QStringLiteral("SELECT [codice_sp],[nome_sp],[autore],[codice_gr],[Dir_habitat] FROM [Specie] WHERE [Dir_habitat] = -1 and [codice_gr]='");
    else if (filter == Filter::Alien)
        head = QStringLiteral("SELECT [codice_sp],[nome_sp],[autore],[codice_gr],[introdotta] FROM [Specie] WHERE [introdotta] = -1 and [codice_gr]='");
    else
        head = QStringLiteral("SELECT [codice_sp],[nome_sp],[autore],[codice_gr] FROM [Specie] WHERE [codice_gr]='");
    return head + q(familyCode) + QStringLiteral("' ORDER BY [codice_sp];");
}

QString groupsBelow(const QString &groupCode, const QString &filter)
{
    QString columns = QStringLiteral("[codice_gr],[nome_gr]");
    QString condition;
    if (filter == Filter::Invertebrates) {
        condition = QStringLiteral(" and [codice_gr] not like '037*'");
    } else if (filter == Filter::Vertebrates) {
        condition = QStringLiteral(" and [codice_gr] like '037*'");
    } else if (filter == Filter::HabitatDirective) {
        columns += QStringLiteral(",[dir_habitat]");
        condition = QStringLiteral(" and [dir_habitat] = -1");
    } else if (filter == Filter::RedList) {
        columns += QStringLiteral(",[red_list]");
        condition = QStringLiteral(" and [red_list] = -1");
    } else if (filter == Filter::Alien) {
        columns += QStringLiteral(",[introdotta]");
        condition = QStringLiteral(" and [introdotta] = -1");
    }
    return QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM [Taxa] WHERE codice_gr like '") + q(groupCode)
           + QStringLiteral("*' and codice_gr<>'") + q(groupCode) + QStringLiteral("'") + condition
           + QStringLiteral(" ORDER BY [codice_gr]");
}

QString genusTaxa(const QString &genusCode, const QString &filter)
{
    QString head;
    if (filter == Filter::RedList)
        head = QStringLiteral("SELECT [codice_sp],[nome_sp],[autore],[codice_gr],[conservazione] FROM [Specie] WHERE ([conservazione] like 'V*' or [Conservazione] like 'E*' or [Conservazione] like 'X*') and [codice_sp] like '");
    else if (filter == Filter::HabitatDirective)
        head = QStringLiteral("SELECT [codice_sp],[nome_sp],[autore],[codice_gr],[dir_habitat] FROM [Specie] WHERE [dir_habitat] = -1 and [codice_sp] like '");
    else if (filter == Filter::Alien)
        head = QStringLiteral("SELECT [codice_sp],[nome_sp],[autore],[codice_gr],[introdotta] FROM [Specie] WHERE [introdotta] = -1 and [codice_sp] like '");
    else
        head = QStringLiteral("SELECT [codice_sp],[nome_sp],[autore],[codice_gr] FROM [Specie] WHERE [codice_sp] like '");
    return head + q(genusCode) + QStringLiteral("*' and len([codice_sp])>=15 ORDER BY [codice_sp];");
}

QString dataOwner(const QString &taxonCode)
{
    return QStringLiteral("SELECT [Codice_sp],[Referente] FROM [Specie] WHERE [codice_sp] = '") + q(taxonCode)
           + QStringLiteral("';");
}

QString speciesCard(const QString &taxonCode)
{
    return QStringLiteral("SELECT Specie.*, Corotipi.*, Referenti.Specialista FROM Referenti INNER JOIN (Corotipi RIGHT JOIN Specie ON Corotipi.Corologia = Specie.COROLOGIA) ON Referenti.Referente = Specie.REFERENTE WHERE (((Specie.[CODICE_SP])='")
           + q(taxonCode) + QStringLiteral("'));");
}

namespace {
const QString SitesHead = QStringLiteral("Select [CODICE_SP],[NOME_SP],[REGIONE],[PROVINCIA],[LOC],[STAZIONE],[QUOTA],[FONTE],[ANNO],[UTM],[PRECISIONE_UTM] from [Stazioni] Where ");
}

QString sitesOfTaxon(const QString &taxonCode)
{
    return SitesHead + QStringLiteral("[CODICE_SP] like '") + q(taxonCode)
           + QStringLiteral("*' Order by [CODICE_SP],[LOC]");
}

QString sitesInSquare(const QString &taxonCode, const QString &square)
{
    return SitesHead + QStringLiteral("([CODICE_SP] like '") + q(taxonCode) + QStringLiteral("*' and [UTM]='")
           + q(square) + QStringLiteral("') Order by [CODICE_SP],[LOC]");
}

QString dataSources(const QString &dataOwner, const QString &taxonCode)
{
    return QStringLiteral("SELECT [Bibliografia].[AUTORE],[Bibliografia].[ANNO],[Bibliografia].[TITOLO],[Bibliografia].[PERIODICO],[Bibliografia].[VOL_PAGINE] FROM [Specie] INNER JOIN ([Bibliografia] INNER JOIN [Stazioni] ON [Bibliografia].[CODICE_AU] = [Stazioni].[FONTE]) ON ([Specie].[REFERENTE] = [Bibliografia].[REFERENTE]) AND ([Specie].[CODICE_SP] = [Stazioni].[CODICE_SP]) GROUP BY [Bibliografia].[AUTORE],[Bibliografia].[ANNO],[Bibliografia].[TITOLO],[Bibliografia].PERIODICO,[Bibliografia].[VOL_PAGINE],[Bibliografia].[REFERENTE],[Bibliografia].[CODICE_AU],[Bibliografia].[TIPO_FONTE],[Specie].[CODICE_SP] Having ((([Bibliografia].[REFERENTE]) = '")
           + q(dataOwner) + QStringLiteral("') And (([Specie].[CODICE_SP]) = '") + q(taxonCode)
           + QStringLiteral("'))ORDER BY [Bibliografia].[TIPO_FONTE],[Bibliografia].[CODICE_AU];");
}

QString mapSquares(const QString &taxonCode)
{
    return QStringLiteral("SELECT [codice_sp],[UTM] FROM [Stazioni] WHERE ([codice_sp] like'") + q(taxonCode)
           + QStringLiteral("*' and not isnull([UTM])) group by [codice_sp],[UTM];");
}

QString taxaOfGroup(const QString &groupCode)
{
    return QStringLiteral("SELECT [codice_sp],[nome_sp],[autore] FROM [Specie] WHERE [codice_gr] like '")
           + q(groupCode) + QStringLiteral("*' ORDER BY [codice_sp];");
}

QString taxaFrom(const QString &taxonCode)
{
    return QStringLiteral("SELECT [codice_sp],[nome_sp],[autore] FROM [Specie] WHERE [codice_sp] like '")
           + q(taxonCode) + QStringLiteral("*' ORDER BY [codice_sp];");
}

QString latestYear(const QString &taxonCode)
{
    return QStringLiteral("SELECT Max([ANNO]) AS [ANNO] FROM [Stazioni] WHERE [CODICE_SP] like '") + q(taxonCode)
           + QStringLiteral("*';");
}

QString searchByName(const QString &text, const QString &filter)
{
    QString head;
    QString tail = QStringLiteral("*' order by [nome_sp];");
    if (filter == Filter::Invertebrates) {
        head = QStringLiteral("Select [codice_sp], [nome_sp],[codice_gr] from [Specie] where [codice_gr] not like '037*' and [nome_sp] like '*");
        tail = QStringLiteral("*' Order by [nome_sp];");
    } else if (filter == Filter::Vertebrates) {
        head = QStringLiteral("Select [codice_sp], [nome_sp],[codice_gr] from [Specie] where [codice_gr] like '037*' and [nome_sp] like '*");
        tail = QStringLiteral("*' Order by [nome_sp];");
    } else if (filter == Filter::HabitatDirective) {
        head = QStringLiteral("Select [codice_sp], [nome_sp],[codice_gr],[dir_habitat] from [Specie] where [dir_habitat] = -1 and [nome_sp] like '*");
    } else if (filter == Filter::RedList) {
        head = QStringLiteral("Select [codice_sp], [nome_sp],[codice_gr],[conservazione] from [Specie] where ([conservazione] like 'E*' or [conservazione] like 'V*' or [conservazione] like 'X*') and [nome_sp] like '*");
    } else if (filter == Filter::Alien) {
        head = QStringLiteral("Select [codice_sp], [nome_sp],[codice_gr],[introdotta] from [Specie] where [introdotta] = -1 and [nome_sp] like '*");
    } else {
        head = QStringLiteral("Select [codice_sp], [nome_sp],[codice_gr] from [Specie] where [nome_sp] like '*");
        tail = QStringLiteral("*' Order by [nome_sp];");
    }
    return head + q(text) + tail;
}

QString taxonByName(const QString &name)
{
    return QStringLiteral("SELECT [codice_gr],[nome_sp],[autore] from [Specie] where [nome_sp]='") + q(name)
           + QStringLiteral("';");
}

QString groupName(const QString &groupCode)
{
    return QStringLiteral("SELECT [codice_gr],[nome_gr] from [Taxa] where [codice_gr]='") + q(groupCode)
           + QStringLiteral("';");
}

QString explanationList(const QString &table, const QString &orderField)
{
    return QStringLiteral("SELECT * FROM ") + bracketed(table) + QStringLiteral(" ORDER BY ") + bracketed(orderField)
           + QStringLiteral(";");
}

QString sitesToExcel(const QString &workbookPath, const QString &taxonCode, bool english)
{
    const QString fields = english
        ? QStringLiteral("[NOME_SP] AS SPECIES,[REGIONE] AS REGION,[PROVINCIA] AS PROVINCE,[LOC] AS LOCALITY,[STAZIONE] AS SITE,[QUOTA] AS ELEVATION,[FONTE] AS SOURCE,[ANNO] AS YEAR,[UTM],[PRECISIONE_UTM] AS PRECISION")
        : QStringLiteral("[NOME_SP],[REGIONE],[PROVINCIA],[LOC] AS LOCALITA,[STAZIONE],[QUOTA],[FONTE],[ANNO],[UTM],[PRECISIONE_UTM] AS PRECISIONE");
    const QString sheet = english ? QStringLiteral("Sites") : QStringLiteral("Stazioni");
    return QStringLiteral("SELECT ") + fields + QStringLiteral(" INTO [Excel 8.0;DATABASE=") + intoText(workbookPath)
           + QStringLiteral("].[") + sheet + QStringLiteral("] from [Stazioni] Where [CODICE_SP] like '")
           + q(taxonCode) + QStringLiteral("*' Order by [NOME_SP],[REGIONE],[PROVINCIA],[LOC],[STAZIONE]");
}

QString squareAggregates(bool english)
{
    return english ? QStringLiteral("Count(Stazioni.STAZIONE) AS SITES, Max(Stazioni.ANNO) AS YEAR")
                   : QStringLiteral("Count(Stazioni.STAZIONE) AS STAZIONI, Max(Stazioni.ANNO) AS ANNO");
}

namespace {

QString occupiedSquaresSelect(bool english)
{
    return QStringLiteral("SELECT QuadUTM.UTM, ") + squareAggregates(english)
           + QStringLiteral(", QuadUTM.E_UTM32, QuadUTM.N_UTM32");
}

QString occupiedSquaresFrom(const QString &taxonCode)
{
    return QStringLiteral(" FROM QuadUTM INNER JOIN Stazioni ON QuadUTM.UTM = Stazioni.UTM WHERE (((Stazioni.CODICE_SP) Like '")
           + q(taxonCode) + QStringLiteral("*')) GROUP BY QuadUTM.UTM, QuadUTM.E_UTM32, QuadUTM.N_UTM32;");
}

}  // namespace

QString occupiedSquares(const QString &taxonCode, bool english)
{
    return occupiedSquaresSelect(english) + occupiedSquaresFrom(taxonCode);
}

QString occupiedSquaresToExcel(const QString &outputName, const QString &taxonCode, bool english)
{
    const QString sheet = english ? QStringLiteral("Sites") : QStringLiteral("Stazioni");
    return occupiedSquaresSelect(english) + QStringLiteral(" INTO [Excel 5.0;DATABASE=") + intoText(outputName)
           + QStringLiteral(".xls].[") + sheet + QStringLiteral("]") + occupiedSquaresFrom(taxonCode);
}

QString occupiedSquaresToDbase(const QString &folder, const QString &outputName, const QString &taxonCode,
                               bool english)
{
    return occupiedSquaresSelect(english) + QStringLiteral(" INTO [dBase IV;DATABASE=") + intoText(folder)
           + QStringLiteral("].[") + intoText(outputName) + QStringLiteral("]") + occupiedSquaresFrom(taxonCode);
}

QString esportaName()
{
    return QStringLiteral("Esporta");
}

QString esportaQuery(const QString &taxonCode, bool english)
{
    return QStringLiteral("SELECT Stazioni.UTM, ") + squareAggregates(english) + QStringLiteral(" FROM Stazioni WHERE (((Stazioni.CODICE_SP) Like '")
           + q(taxonCode) + QStringLiteral("*')) GROUP BY Stazioni.UTM;");
}

// The rows must come in the order of the rows of QuadUTM, which is the order
// of the shapefile template's shapes. Without ORDER BY, SQLite reads QuadUTM
// through its primary key index (in code order) and would attach the
// attributes to the wrong shapes whenever the two orders differ.
QString allSquaresToDbase(const QString &folder, const QString &outputName, bool english)
{
    const QString joined = english ? QStringLiteral("Esporta.SITES, Esporta.YEAR")
                                   : QStringLiteral("Esporta.STAZIONI, Esporta.ANNO");
    return QStringLiteral("SELECT QuadUTM.UTM, ") + joined + QStringLiteral(" INTO [dBase IV;DATABASE=") + intoText(folder)
           + QStringLiteral("].[") + intoText(outputName)
           + QStringLiteral("] FROM QuadUTM LEFT JOIN Esporta ON QuadUTM.UTM = Esporta.UTM ORDER BY QuadUTM.rowid;");
}

}  // namespace ortolan::data::queries
