#pragma once

#include <QWidget>

namespace ortolan {

// Form_Info: version, rights notice, committee, editors, software author, web
// site and mail links, the disclaimer, and the credits of data and libraries.
class AboutWindow : public QWidget {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

}  // namespace ortolan
