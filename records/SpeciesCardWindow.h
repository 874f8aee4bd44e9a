#pragma once

#include "data/Recordset.h"

#include <QHash>
#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace ortolan::records {

// Form_Scheda: every attribute of one taxon on one page, read from the one
// row of the species card query (empty fields and clear boxes without a
// row), with three buttons opening the explanations of chorotypes, habitats
// and conservation categories. The card never writes to the database.
// Closing it closes an open explanations window. Deletes itself when closed.
class SpeciesCardWindow : public QWidget {
    Q_OBJECT
public:
    explicit SpeciesCardWindow(const data::Recordset &card, QWidget *parent = nullptr);
    ~SpeciesCardWindow() override;

    // The text of a text control ("Text_01" ...), the state of a check box
    // ("Check_01" ...), the caption of a label or button.
    QString text(const QString &control) const;
    bool checked(const QString &control) const;
    QString caption(const QString &labelOrButton) const;
    QPushButton *button(const QString &name) const;

    // The explanation buttons: "Corologia", "Habitat", "Conservazione".
    void showExplanations(const QString &list);

private:
    QHash<QString, QWidget *> controls_;
    QHash<QString, QLabel *> labels_;
    QHash<QString, QPushButton *> buttons_;
};

}  // namespace ortolan::records
