#pragma once

#include "app/MdiChild.h"

#include <QMap>
#include <QWidget>

class QLabel;
class QMenu;
class QAction;

namespace ortolan {

class LinkLabel;

// Form_Auto: the title page shown at start-up and by the Home commands. Four
// large text links, the partner organisations' names and logos (each a link to
// its web site) and its own menus open the species window with a filter, the
// help, the about window or a web site.
class StartScreenWindow : public QWidget, public MdiChild {
    Q_OBJECT
public:
    explicit StartScreenWindow(QWidget *parent = nullptr);
    ~StartScreenWindow() override;

    QList<QMenu *> frameMenus() const override { return menus_; }

    // The four text links and the logos by their form names ("Label6", "Image4" ...).
    LinkLabel *textLink(const QString &name) const { return links_.value(name); }
    QLabel *logo(const QString &name) const { return logos_.value(name); }
    QAction *menuAction(const QString &name) const;

    // Brown of the text links at rest, dark blue under the mouse.
    static QColor restColour();
    static QColor hoverColour();

signals:
    // The user chose a way into the species window with this TreeFilter value.
    void speciesWindowRequested(const QString &filter);
    void aboutRequested();
    void exitRequested();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildPage();
    void buildMenus();
    QLabel *addLogo(const QString &name, const QString &organisationKey, int size);
    void placeCornerLogos();

    QMap<QString, LinkLabel *> links_;
    QMap<QString, QLabel *> logos_;
    QList<QMenu *> menus_;
};

// A text that acts as a link: dark blue while the mouse is over it, back to
// brown only when the mouse crosses the page background.
class LinkLabel : public QWidget {
    Q_OBJECT
public:
    LinkLabel(const QString &text, int pointSize, QWidget *parent);
    void setText(const QString &text);
    QString text() const { return text_; }
    void setColour(const QColor &colour);
    QColor colour() const { return colour_; }
    QSize sizeHint() const override;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QString text_;
    QColor colour_;
};

}  // namespace ortolan
