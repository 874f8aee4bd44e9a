#pragma once

#include <QPointer>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidgetItem;

namespace ortolan::browser {
class SpeciesWindow;
}

namespace ortolan::records {

// Form_Ricerca: finds genera, species and subspecies by name (wildcards *
// and ?, anywhere in the name) under the current tree filter, and shows the
// chosen one in the species window's tree as a click there would. Deletes
// itself when closed.
class SpeciesSearchWindow : public QWidget {
    Q_OBJECT
public:
    explicit SpeciesSearchWindow(browser::SpeciesWindow &owner, QWidget *parent = nullptr);

    QLineEdit *textBox() const { return text_; }
    QListWidget *list() const { return list_; }

    // Find: lists the names matching the text; an empty text does nothing.
    void find();
    // OK: selects the current entry in the tree and closes the window; an
    // error shows MsgSelectSpecies and leaves the window open. Returns the
    // node selected, or null.
    QTreeWidgetItem *showChosen();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<browser::SpeciesWindow> owner_;
    QLineEdit *text_ = nullptr;
    QListWidget *list_ = nullptr;
};

}  // namespace ortolan::records
