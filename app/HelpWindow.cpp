#include "app/HelpWindow.h"

#include "app/Help.h"
#include "app/MessageBoxes.h"
#include "app/Settings.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace ortolan {

HelpWindow::HelpWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    const Settings &s = settings();
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(s.tr(QStringLiteral("Ortolan - Guida"), QStringLiteral("Ortolan - Help")));
    browser_ = new QTextBrowser(this);
    browser_->setOpenExternalLinks(true);
    auto *contents = new QPushButton(s.tr(QStringLiteral("&Sommario"), QStringLiteral("&Contents")), this);
    back_ = new QPushButton(s.tr(QStringLiteral("&Indietro"), QStringLiteral("&Back")), this);
    forward_ = new QPushButton(s.tr(QStringLiteral("&Avanti"), QStringLiteral("&Forward")), this);
    back_->setEnabled(false);
    forward_->setEnabled(false);
    connect(contents, &QPushButton::clicked, this, [this] { showPage(settings().HelpFilePath); });
    connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QPushButton::setEnabled);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back_);
    buttons->addWidget(forward_);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_);
    resize(720, 640);
}

void HelpWindow::showPage(const QString &path)
{
    browser_->setSource(QUrl::fromLocalFile(path));
}

QString HelpWindow::currentPage() const { return browser_->source().toLocalFile(); }

QString helpTopicPath(int context)
{
    const QString contents = settings().HelpFilePath;
    const QFileInfo info(contents);
    return info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + QLatin1Char('/')
           + QString::number(context) + QStringLiteral(".html");
}

namespace {

// One help window for the whole program, created on first use.
HelpWindow *helpWindow()
{
    static QPointer<HelpWindow> window;
    if (!window) {
        window = new HelpWindow;
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    return window;
}

void showPath(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        showError(settings().messages.MsgMissingFile + path);
        return;
    }
    HelpWindow *w = helpWindow();
    w->showPage(path);
    w->show();
    w->raise();
    w->activateWindow();
}

}  // namespace

void showHelpContents() { showPath(settings().HelpFilePath); }

void showHelpTopic(int context) { showPath(helpTopicPath(context)); }

}  // namespace ortolan
