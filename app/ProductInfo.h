#pragma once

#include <QList>
#include <QString>

namespace ortolan {

// Names, titles, addresses and logos of the product and of the organisations
// shown on the start screen and in the about window. Kept in one place so that
// a distributor can change them without touching any window.

// "major.minor.revision" of the program, from the build.
QString versionText();

// The product's descriptive title (window captions; upper case on the start screen).
QString productTitle(bool english);
// The start screen's subtitle.
QString productSubtitle(bool english);

QString programWebSite();
QString checklistWebSite();
QString contactMail();

// One organisation of the start screen: its names, web site and logo.
struct Organisation {
    QString key;        // "ministry", "directorate", "committee", "museum", "university", "program"
    QString nameIt;
    QString nameEn;
    QString url;
    QString logo;       // resource path of its SVG mark
    QString name(bool english) const { return english ? nameEn : nameIt; }
};

QList<Organisation> organisations();
Organisation organisation(const QString &key);

// About window texts.
QString rightsNotice(bool english);
QString committeeMembers();
QString editors();
QString softwareAuthor();
QString disclaimer(bool english);
// Credits of the geographic data and of the libraries (HTML).
QString creditsHtml(bool english);

}  // namespace ortolan
