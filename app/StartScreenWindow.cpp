#include "app/StartScreenWindow.h"

#include "app/Help.h"
#include "app/ProductInfo.h"
#include "app/Settings.h"
#include "app/WebLinks.h"

#include <QAction>
#include <QEnterEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>

namespace ortolan {

namespace {

constexpr int kPageWidth = 820;
constexpr int kPageHeight = 580;

QPixmap logoPixmap(const QString &resource, int size, qreal dpr)
{
    QSvgRenderer renderer(resource);
    QPixmap pixmap(QSize(size, size) * dpr);
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(0, 0, size, size));
    return pixmap;
}

}  // namespace

// ---- LinkLabel ----

LinkLabel::LinkLabel(const QString &text, int pointSize, QWidget *parent)
    : QWidget(parent), text_(text), colour_(StartScreenWindow::restColour())
{
    QFont f = font();
    f.setPointSize(pointSize);
    f.setBold(true);
    setFont(f);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover);
}

void LinkLabel::setText(const QString &text)
{
    text_ = text;
    updateGeometry();
    update();
}

void LinkLabel::setColour(const QColor &colour)
{
    if (colour_ == colour)
        return;
    colour_ = colour;
    update();
}

QSize LinkLabel::sizeHint() const
{
    const QFontMetrics fm(font());
    return {fm.horizontalAdvance(text_) + 8, fm.height() + 4};
}

void LinkLabel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setPen(colour_);
    p.setFont(font());
    p.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, text_);
}

void LinkLabel::enterEvent(QEnterEvent *) { setColour(StartScreenWindow::hoverColour()); }

void LinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

// ---- StartScreenWindow ----

QColor StartScreenWindow::restColour() { return QColor(128, 64, 0); }
QColor StartScreenWindow::hoverColour() { return QColor(0, 0, 192); }

StartScreenWindow::StartScreenWindow(QWidget *parent) : QWidget(parent)
{
    Settings &s = settings();
    s.StartScreenOpen = true;
    setObjectName(QStringLiteral("Form_Auto"));
    setWindowTitle(s.tr(QStringLiteral("Ortolan - Versione "), QStringLiteral("Ortolan - Version ")) + versionText());
    setMouseTracking(true);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(250, 246, 234));
    setPalette(pal);
    setFixedSize(kPageWidth, kPageHeight);
    buildPage();
    buildMenus();
}

StartScreenWindow::~StartScreenWindow() { settings().StartScreenOpen = false; }

QLabel *StartScreenWindow::addLogo(const QString &name, const QString &organisationKey, int size)
{
    const Organisation org = organisation(organisationKey);
    const bool english = settings().isEnglish();
    auto *label = new QLabel(this);
    label->setObjectName(name);
    label->setPixmap(logoPixmap(org.logo, size, devicePixelRatioF()));
    label->setFixedSize(size, size);
    label->setCursor(Qt::PointingHandCursor);
    label->setToolTip(english ? org.nameEn + QStringLiteral(" website")
                              : QStringLiteral("Vai a sito web ") + org.nameIt);
    label->installEventFilter(this);
    label->setProperty("url", org.url);
    logos_.insert(name, label);
    return label;
}

void StartScreenWindow::buildPage()
{
    const Settings &s = settings();
    const bool en = s.isEnglish();

    auto *title = new QLabel(productTitle(en).toUpper(), this);
    title->setObjectName(QStringLiteral("Label4"));
    QFont tf = title->font();
    tf.setPointSize(17);
    tf.setBold(true);
    title->setFont(tf);
    title->setStyleSheet(QStringLiteral("color: rgb(128,64,0);"));
    title->setAlignment(Qt::AlignCenter);
    title->setWordWrap(true);
    title->setGeometry(110, 24, kPageWidth - 220, 70);
    title->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto *subtitle = new QLabel(productSubtitle(en), this);
    subtitle->setObjectName(QStringLiteral("Subtitle"));
    QFont sf = subtitle->font();
    sf.setPointSize(11);
    subtitle->setFont(sf);
    subtitle->setStyleSheet(QStringLiteral("color: rgb(90,60,20);"));
    subtitle->setAlignment(Qt::AlignCenter);
    subtitle->setGeometry(110, 96, kPageWidth - 220, 24);
    subtitle->setAttribute(Qt::WA_TransparentForMouseEvents);

    struct LinkDef { const char *name; QString it; QString en; };
    const LinkDef defs[] = {
        {"Label6", QStringLiteral("DISTRIBUZIONE"), QStringLiteral("DISTRIBUTION")},
        {"Label5", QStringLiteral("CHECKLIST SUL WEB"), QStringLiteral("CHECKLIST ON-LINE")},
        {"Label8", QStringLiteral("AUTORI"), QStringLiteral("AUTHORS")},
        {"Label7", QStringLiteral("AIUTO"), QStringLiteral("HELP")},
    };
    int y = 160;
    for (const LinkDef &d : defs) {
        auto *link = new LinkLabel(en ? d.en : d.it, 18, this);
        link->setObjectName(QString::fromLatin1(d.name));
        link->setGeometry(300, y, 360, 40);
        links_.insert(link->objectName(), link);
        y += 52;
    }
    connect(links_.value(QStringLiteral("Label6")), &LinkLabel::clicked, this,
            [this] { emit speciesWindowRequested(Filter::All); });
    connect(links_.value(QStringLiteral("Label5")), &LinkLabel::clicked, this,
            [this] { openWebLink(checklistWebSite(), this); });
    connect(links_.value(QStringLiteral("Label8")), &LinkLabel::clicked, this,
            [] { showHelpTopic(HelpContext::Authors); });
    connect(links_.value(QStringLiteral("Label7")), &LinkLabel::clicked, this, [] { showHelpContents(); });

    // Illustration beside the links: the program's mark, large.
    addLogo(QStringLiteral("Image8"), QStringLiteral("program"), 120)->move(150, 170);

    // Organisations: logo and name, each a link to the organisation's site.
    struct OrgDef { const char *image; const char *label; const char *key; int x; int y; };
    const OrgDef orgs[] = {
        {"Image10", "Label2", "ministry", 24, 400},
        {"Image3", "Label14", "directorate", 24, 452},
        {"Image2", "Label3", "committee", 420, 400},
        {"Image1", "Label1", "museum", 420, 452},
        {"Image5", "Label13", "university", 420, 504},
    };
    for (const OrgDef &o : orgs) {
        addLogo(QString::fromLatin1(o.image), QString::fromLatin1(o.key), 40)->move(o.x, o.y);
        const Organisation org = organisation(QString::fromLatin1(o.key));
        auto *name = new QLabel(org.name(en), this);
        name->setObjectName(QString::fromLatin1(o.label));
        name->setWordWrap(true);
        name->setGeometry(o.x + 48, o.y, 330, 40);
        name->setCursor(Qt::PointingHandCursor);
        name->setStyleSheet(QStringLiteral("color: rgb(60,40,20);"));
        name->setProperty("url", org.url);
        name->installEventFilter(this);
    }
    addLogo(QStringLiteral("Image6"), QStringLiteral("directorate"), 40)->move(24, 24);
    addLogo(QStringLiteral("Image9"), QStringLiteral("program"), 64);
    addLogo(QStringLiteral("Image4"), QStringLiteral("program"), 32);
    addLogo(QStringLiteral("Image7"), QStringLiteral("program"), 32);
    placeCornerLogos();
}

void StartScreenWindow::buildMenus()
{
    const Settings &s = settings();
    auto action = [this](QMenu *menu, const char *name, const QString &text) {
        QAction *a = menu->addAction(text);
        a->setObjectName(QString::fromUtf8(name));
        return a;
    };
    auto *file = new QMenu(QStringLiteral("&File"), this);
    file->setObjectName(QStringLiteral("File_mnu"));
    connect(action(file, "Fauna_mnu", s.tr(QStringLiteral("&Distribuzione"), QStringLiteral("&Species distribution"))),
            &QAction::triggered, this, [this] { emit speciesWindowRequested(Filter::All); });
    connect(action(file, "DirHabitat_mnu", s.tr(QStringLiteral("&Direttiva Habitat"), QStringLiteral("Filter: &Habitat Directive"))),
            &QAction::triggered, this, [this] { emit speciesWindowRequested(Filter::HabitatDirective); });
    connect(action(file, "RedList_mnu", s.tr(QStringLiteral("&Liste Rosse"), QStringLiteral("Filter: &Red Lists"))),
            &QAction::triggered, this, [this] { emit speciesWindowRequested(Filter::RedList); });
    connect(action(file, "Alien_mnu", s.tr(QStringLiteral("Specie &aliene"), QStringLiteral("Filter: Alien s&pecies"))),
            &QAction::triggered, this, [this] { emit speciesWindowRequested(Filter::Alien); });
    file->addSeparator();
    connect(action(file, "Esci_Mnu", s.tr(QStringLiteral("&Esci da Ortolan"), QStringLiteral("&Exit"))),
            &QAction::triggered, this, &StartScreenWindow::exitRequested);

    auto *help = new QMenu(QStringLiteral("&?"), this);
    help->setObjectName(QStringLiteral("Aiuto_mnu"));
    connect(action(help, "Help_mnu", QStringLiteral("&Help")), &QAction::triggered, this, [] { showHelpContents(); });
    connect(action(help, "Autori_mnu", s.tr(QStringLiteral("&Autori"), QStringLiteral("&Authors"))),
            &QAction::triggered, this, [] { showHelpTopic(HelpContext::Authors); });
    connect(action(help, "Novità_mnu", s.tr(QStringLiteral("&Novità"), QStringLiteral("&New features"))),
            &QAction::triggered, this, [] { showHelpTopic(HelpContext::NewFeatures); });
    help->addSeparator();
    connect(action(help, "Ortolan_mnu", s.tr(QStringLiteral("Ortolan sul &web"), QStringLiteral("&Ortolan updates on-line"))),
            &QAction::triggered, this, [this] { openWebLink(programWebSite(), this); });
    connect(action(help, "Checklist_mnu", s.tr(QStringLiteral("Chec&klist sul web"), QStringLiteral("Chec&klist on-line"))),
            &QAction::triggered, this, [this] { openWebLink(checklistWebSite(), this); });
    help->addSeparator();
    connect(action(help, "Info_mnu", s.tr(QStringLiteral("&Informazioni"), QStringLiteral("&About Ortolan..."))),
            &QAction::triggered, this, &StartScreenWindow::aboutRequested);
    menus_ = {file, help};
}

QAction *StartScreenWindow::menuAction(const QString &name) const
{
    for (QMenu *m : menus_)
        for (QAction *a : m->actions())
            if (a->objectName() == name)
                return a;
    return nullptr;
}

void StartScreenWindow::placeCornerLogos()
{
    if (QLabel *right = logos_.value(QStringLiteral("Image9")))
        right->move(width() - right->width() - 16, 16);
    if (QLabel *bottomRight = logos_.value(QStringLiteral("Image7")))
        bottomRight->move(width() - bottomRight->width(), height() - bottomRight->height());
    if (QLabel *bottomLeft = logos_.value(QStringLiteral("Image4")))
        bottomLeft->move(0, height() - bottomLeft->height());
}

void StartScreenWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeCornerLogos();
}

void StartScreenWindow::mouseMoveEvent(QMouseEvent *event)
{
    // The page background: every text link returns to brown.
    for (LinkLabel *link : std::as_const(links_))
        link->setColour(restColour());
    QWidget::mouseMoveEvent(event);
}

void StartScreenWindow::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    QPainter p(this);
    p.setPen(QPen(QColor(128, 64, 0), 2));
    p.drawLine(110, 130, width() - 110, 130);
    p.drawLine(24, 384, width() - 24, 384);
}

bool StartScreenWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        const QString url = watched->property("url").toString();
        if (!url.isEmpty()) {
            openWebLink(url, this);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace ortolan
