#include "app/ProductInfo.h"

#include <QtGlobal>

namespace ortolan {

QString versionText()
{
    return QString::number(ORTOLAN_VERSION_MAJOR) + QLatin1Char('.') + QString::number(ORTOLAN_VERSION_MINOR)
           + QLatin1Char('.') + QString::number(ORTOLAN_VERSION_PATCH);
}

QString productTitle(bool english)
{
    return english ? QStringLiteral("Checklist and distribution of the Italian fauna")
                   : QStringLiteral("Checklist e distribuzione della fauna italiana");
}

QString productSubtitle(bool english)
{
    return english ? QStringLiteral("10,000 TERRESTRIAL AND INLAND WATER SPECIES")
                   : QStringLiteral("10.000 SPECIE TERRESTRI E DELLE ACQUE INTERNE");
}

QString programWebSite() { return QStringLiteral("https://ortolan.example.org/"); }
QString checklistWebSite() { return QStringLiteral("https://checklist.example.org/"); }
QString contactMail() { return QStringLiteral("ortolan@example.org"); }

QList<Organisation> organisations()
{
    return {
        {QStringLiteral("ministry"), QStringLiteral("Ministero dell'Ambiente"),
         QStringLiteral("Ministry of the Environment"), QStringLiteral("https://environment.example.org/"),
         QStringLiteral(":/logos/ministry.svg")},
        {QStringLiteral("directorate"), QStringLiteral("Direzione per la Protezione della Natura"),
         QStringLiteral("Nature Protection Directorate"), QStringLiteral("https://environment.example.org/nature/"),
         QStringLiteral(":/logos/directorate.svg")},
        {QStringLiteral("committee"), QStringLiteral("Comitato Scientifico per la Fauna d'Italia"),
         QStringLiteral("Scientific Committee for the Fauna of Italy"), QStringLiteral("https://fauna-committee.example.org/"),
         QStringLiteral(":/logos/committee.svg")},
        {QStringLiteral("museum"), QStringLiteral("Museo Civico di Storia Naturale"),
         QStringLiteral("Civic Museum of Natural History"), QStringLiteral("https://museum.example.org/"),
         QStringLiteral(":/logos/museum.svg")},
        {QStringLiteral("university"), QStringLiteral("Dipartimento di Biologia Animale, Università"),
         QStringLiteral("Department of Animal Biology, University"), QStringLiteral("https://zoology.example.edu/"),
         QStringLiteral(":/logos/university.svg")},
        {QStringLiteral("program"), QStringLiteral("Ortolan"), QStringLiteral("Ortolan"), programWebSite(),
         QStringLiteral(":/logos/ortolan.svg")},
    };
}

Organisation organisation(const QString &key)
{
    for (const Organisation &o : organisations())
        if (o.key == key)
            return o;
    return {};
}

QString rightsNotice(bool english)
{
    return english ? QStringLiteral("© 2003–2026 Ministry of the Environment, Nature Protection Directorate. All rights reserved.")
                   : QStringLiteral("© 2003–2026 Ministero dell'Ambiente, Direzione per la Protezione della Natura. Tutti i diritti riservati.");
}

QString committeeMembers()
{
    return QStringLiteral("A. Bianchi, C. Conti, E. Ferrari, G. Galli, L. Marino, M. Moretti, R. Ricci, S. Romano");
}

QString editors() { return QStringLiteral("P. Colombo, F. De Luca, V. Esposito"); }

QString softwareAuthor() { return QStringLiteral("The Ortolan developers"); }

QString disclaimer(bool english)
{
    if (english)
        return QStringLiteral(
            "The software and the data it contains may be used only for research, education and other "
            "non-commercial purposes.\n\n"
            "Students may download, print and use the data for their own research, provided that they cite "
            "as the source the Ministry of the Environment and its Nature Protection Directorate, the editors, "
            "and the Ortolan software and its authors.\n\n"
            "Copying the data into other databases or web sites, or spreading them in any other way, requires "
            "the written permission of the rights holder.");
    return QStringLiteral(
        "Il programma e i dati che contiene possono essere usati soltanto a scopo di ricerca, di didattica "
        "e per altri fini non commerciali.\n\n"
        "Gli studenti possono scaricare, stampare e usare i dati per le proprie ricerche, a condizione di "
        "citare come fonte il Ministero dell'Ambiente e la sua Direzione per la Protezione della Natura, i "
        "curatori, il programma Ortolan e i suoi autori.\n\n"
        "La copia dei dati in altre banche dati o siti web, o la loro diffusione in qualsiasi altra forma, "
        "richiede l'autorizzazione scritta del titolare dei diritti.");
}

QString creditsHtml(bool english)
{
    const QString head = english ? QStringLiteral("<b>Geographic data</b>") : QStringLiteral("<b>Dati geografici</b>");
    const QString demo = english
        ? QStringLiteral("The bundled species database is a demonstration data set: higher taxa, chorotypes, habitats "
                         "and conservation categories are real; genus and species names, records and sources are generated.")
        : QStringLiteral("La banca dati fornita è un insieme dimostrativo: i taxa superiori, i corotipi, gli habitat e le "
                         "categorie di conservazione sono reali; i nomi di generi e specie, i record e le fonti sono generati.");
    const QString libs = english ? QStringLiteral("<b>Libraries</b>") : QStringLiteral("<b>Librerie</b>");
    return head + QStringLiteral(
               "<br>Regions and provinces: ISTAT; Openpolis (CC BY 4.0).<br>"
               "Coastlines, lakes, rivers and borders: GSHHG, P. Wessel and W. H. F. Smith (LGPL), through GMT.<br>"
               "Coordinate transformations: PROJ (MIT).<br><br>")
           + demo + QStringLiteral("<br><br>") + libs
           + QStringLiteral("<br>Qt 6 (LGPL), SQLite (public domain), shapelib (MIT/LGPL), PROJ (MIT), libgsf (LGPL).<br>"
                            "Ortolan is free software under the GNU General Public License, version 3 or later.");
}

}  // namespace ortolan
