#pragma once

#include <QString>
#include <QWidget>

class QListWidget;

namespace ortolan {

// Form_Expl: the "code - text" lines of one look-up table (chorotypes,
// habitats, conservation categories), in the order of the table's order
// field. Reads the table named by the explanation settings (ExplTable,
// ExplCodeField, ExplTextField, ExplOrderField) when it is opened.
//
// The list is filled once per window, the first time it is shown: activating
// the window again does not list the rows a second time.
class ExplanationsWindow : public QWidget {
    Q_OBJECT
public:
    explicit ExplanationsWindow(QWidget *parent = nullptr);

    QListWidget *list() const { return list_; }

    // Fills the list from the database (done on first show); reports a
    // failing or empty table as MsgDataError + the table name.
    void fill();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QListWidget *list_ = nullptr;
    QString table_, codeField_, textField_, orderField_;
    bool filled_ = false;
};

// Opens the explanations window with the current settings and caption,
// replacing an open one (one explanations window at a time).
ExplanationsWindow *openExplanations(const QString &caption);
// The open explanations window, or null.
ExplanationsWindow *explanationsWindow();
// Closes the open explanations window, if any.
void closeExplanations();

}  // namespace ortolan
