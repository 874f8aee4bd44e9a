#include "browser/SpeciesIcons.h"

#include "app/Settings.h"

namespace ortolan::browser {

double leadingNumber(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    double sign = 1.0;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        if (text[i] == u'-')
            sign = -1.0;
        ++i;
    }
    double value = 0.0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = value * 10.0 + (text[i].unicode() - u'0');
    if (i < text.size() && text[i] == u'.') {
        double scale = 0.1;
        for (++i; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i, scale /= 10.0)
            value += (text[i].unicode() - u'0') * scale;
    }
    return sign * value;
}

QString Set_Icons(const QString &taxonCode, const QString &conservazione, const QString &treeFilter)
{
    const QStringView code(taxonCode);
    const QStringView head = code.left(3);
    const double n3 = leadingNumber(head);
    const double n5 = leadingNumber(code.mid(4, 3));
    const auto headIs = [&](const char16_t *h) { return head == QStringView(h); };

    // Later rules replace earlier ones: the order of the statements matters.
    QString icon = QStringLiteral("Ins");
    if (n3 < 13)
        icon = QStringLiteral("Oligo");
    if (n3 >= 13 && n3 <= 18)
        icon = QStringLiteral("Gast");
    if (headIs(u"020"))
        icon = QStringLiteral("Oligo");
    if (headIs(u"022") || headIs(u"023") || headIs(u"024"))
        icon = QStringLiteral("Arac");
    if (n3 >= 26 && n3 <= 31)
        icon = QStringLiteral("Crust");
    if (headIs(u"032"))
        icon = QStringLiteral("Chilo");
    if (headIs(u"034") || headIs(u"037"))
        icon = QStringLiteral("Eph");
    if (headIs(u"035"))
        icon = QStringLiteral("Odo");
    if (headIs(u"036"))
        icon = QStringLiteral("Grass");
    if (headIs(u"036") && n5 >= 159 && n5 <= 169)
        icon = QStringLiteral("Ear");
    if (headIs(u"041") || headIs(u"042"))
        icon = QStringLiteral("Hem");
    if (n3 >= 44 && n3 <= 61)
        icon = QStringLiteral("Col");
    if (n3 >= 63 && n3 <= 74)
        icon = QStringLiteral("Dipt");
    if (headIs(u"079"))
        icon = QStringLiteral("Tric");
    if (n3 >= 80 && n3 <= 91)
        icon = QStringLiteral("Lep");
    if (n3 >= 99 && n3 <= 106)
        icon = QStringLiteral("Hym");
    if (headIs(u"110")) {
        if (n5 < 355)
            icon = QStringLiteral("Fish");
        if (n5 >= 355 && n5 < 368)
            icon = QStringLiteral("Frog");
        if (n5 >= 368 && n5 < 377)
            icon = QStringLiteral("Turtle");
        if (n5 >= 377 && n5 < 400)
            icon = QStringLiteral("Snake");
        if (n5 >= 623 && n5 < 634)
            icon = QStringLiteral("Bat");
        if ((n5 >= 617 && n5 <= 622) || n5 >= 634)
            icon = QStringLiteral("Mamm");
    }
    if (treeFilter == Filter::RedList) {
        if (conservazione == QStringLiteral("VU"))
            icon = QStringLiteral("Vgrey");
        else if (conservazione == QStringLiteral("EN"))
            icon = QStringLiteral("Egrey");
        else if (conservazione == QStringLiteral("EX"))
            icon = QStringLiteral("Xgrey");
    }
    return icon;
}

}  // namespace ortolan::browser
