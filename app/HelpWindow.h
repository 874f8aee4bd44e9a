#pragma once

#include <QWidget>

class QTextBrowser;
class QPushButton;

namespace ortolan {

// The help viewer: a separate window with a contents button, back/forward and
// the HTML page of the chosen topic.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);
    void showPage(const QString &path);
    QString currentPage() const;

private:
    QTextBrowser *browser_ = nullptr;
    QPushButton *back_ = nullptr;
    QPushButton *forward_ = nullptr;
};

}  // namespace ortolan
