#include "app/AboutWindow.h"

#include "app/Help.h"
#include "app/ProductInfo.h"
#include "app/Settings.h"
#include "app/WebLinks.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace ortolan {

namespace {

QLabel *heading(const QString &text, const char *name, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

QLabel *link(const QString &text, const char *name, QWidget *parent)
{
    auto *l = new QLabel(QStringLiteral("<a href=\"#\">") + text.toHtmlEscaped() + QStringLiteral("</a>"), parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    return l;
}

}  // namespace

AboutWindow::AboutWindow(QWidget *parent) : QWidget(parent)
{
    const Settings &s = settings();
    const bool en = s.isEnglish();
    setObjectName(QStringLiteral("Form_Info"));
    setWindowTitle(en ? QStringLiteral("About Ortolan") : QStringLiteral("Informazioni su Ortolan"));

    auto *logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("Image4"));
    QPixmap pm(QSize(72, 72) * devicePixelRatioF());
    pm.setDevicePixelRatio(devicePixelRatioF());
    pm.fill(Qt::transparent);
    {
        QPainter p(&pm);
        QSvgRenderer(QStringLiteral(":/logos/ortolan.svg")).render(&p, QRectF(0, 0, 72, 72));
    }
    logo->setPixmap(pm);
    logo->setCursor(Qt::PointingHandCursor);
    logo->setToolTip(programWebSite());
    logo->installEventFilter(this);

    auto *version = new QLabel((en ? QStringLiteral("Ortolan - Version ") : QStringLiteral("Ortolan - Versione ")) + versionText(), this);
    version->setObjectName(QStringLiteral("Label_10"));
    QFont vf = version->font();
    vf.setPointSize(vf.pointSize() + 4);
    vf.setBold(true);
    version->setFont(vf);
    auto *rights = new QLabel(rightsNotice(en), this);
    rights->setObjectName(QStringLiteral("Rights"));
    rights->setWordWrap(true);

    auto *grid = new QGridLayout;
    int row = 0;
    grid->addWidget(heading(en ? QStringLiteral("Scientific committee") : QStringLiteral("Comitato scientifico"), "Label_05", this), row, 0, Qt::AlignTop);
    auto *committee = new QLabel(committeeMembers(), this);
    committee->setObjectName(QStringLiteral("Label_06"));
    committee->setWordWrap(true);
    grid->addWidget(committee, row++, 1);
    grid->addWidget(heading(QStringLiteral("Editors"), "Label_03", this), row, 0);
    grid->addWidget(new QLabel(editors(), this), row++, 1);
    grid->addWidget(heading(en ? QStringLiteral("Software Author") : QStringLiteral("Programmazione software"), "Label_07", this), row, 0);
    grid->addWidget(new QLabel(softwareAuthor(), this), row++, 1);
    grid->addWidget(heading(en ? QStringLiteral("Web Site") : QStringLiteral("Sito web"), "Label_09", this), row, 0);
    QLabel *site = link(programWebSite(), "Label11", this);
    connect(site, &QLabel::linkActivated, this, [this] { openWebLink(programWebSite(), this); });
    grid->addWidget(site, row++, 1);
    grid->addWidget(heading(QStringLiteral("E-mail"), "Label_12", this), row, 0);
    QLabel *mail = link(contactMail(), "Label10", this);
    connect(mail, &QLabel::linkActivated, this, [this] { openWebLink(QStringLiteral("mailto:") + contactMail(), this); });
    grid->addWidget(mail, row++, 1);
    grid->setColumnStretch(1, 1);

    auto *disclaimerText = new QPlainTextEdit(disclaimer(en), this);
    disclaimerText->setObjectName(QStringLiteral("Text1"));
    disclaimerText->setReadOnly(true);
    disclaimerText->setMinimumHeight(110);

    auto *credits = new QTextBrowser(this);
    credits->setObjectName(QStringLiteral("Credits"));
    credits->setHtml(creditsHtml(en));
    credits->setMinimumHeight(120);

    auto *ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setDefault(true);
    auto *help = new QPushButton(QStringLiteral("&Help"), this);
    help->setObjectName(QStringLiteral("Command2"));
    connect(ok, &QPushButton::clicked, this, [this] { parentWidget() ? parentWidget()->close() : close(); });
    connect(help, &QPushButton::clicked, this, [] { showHelpContents(); });

    auto *top = new QHBoxLayout;
    top->addWidget(logo);
    auto *titleBox = new QVBoxLayout;
    titleBox->addWidget(version);
    titleBox->addWidget(rights);
    top->addLayout(titleBox, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(help);
    buttons->addWidget(ok);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(grid);
    layout->addWidget(heading(en ? QStringLiteral("Disclaimer") : QStringLiteral("Avvertenze"), "Label_11", this));
    layout->addWidget(disclaimerText);
    layout->addWidget(heading(en ? QStringLiteral("Credits") : QStringLiteral("Riconoscimenti"), "CreditsHeading", this));
    layout->addWidget(credits);
    layout->addLayout(buttons);
    resize(560, 600);
}

bool AboutWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease && watched->objectName() == QStringLiteral("Image4")) {
        openWebLink(programWebSite(), this);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace ortolan
