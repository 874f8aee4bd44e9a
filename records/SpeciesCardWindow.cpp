#include "records/SpeciesCardWindow.h"

#include "app/ExplanationsWindow.h"
#include "app/Settings.h"
#include "records/SpeciesCardFields.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ortolan::records {

SpeciesCardWindow::SpeciesCardWindow(const data::Recordset &card, QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("Form_Scheda"));
    const Settings &s = settings();
    auto *grid = new QGridLayout;
    int row = 0;
    for (const SpeciesCardField &f : SpeciesCardField::all()) {
        auto *label = new QLabel(s.tr(f.italian, f.english), this);
        label->setObjectName(f.label);
        labels_.insert(f.label, label);
        if (f.controls.isEmpty()) {  // the Habitat Directive heading
            QFont bold = label->font();
            bold.setBold(true);
            label->setFont(bold);
            grid->addWidget(label, row++, 0, 1, 3);
            continue;
        }
        grid->addWidget(label, row, 0);
        const QStringList values = f.values(card);
        for (int i = 0; i < f.controls.size(); ++i) {
            const QString &name = f.controls[i];
            QWidget *control = nullptr;
            if (f.isCheck) {
                auto *box = new QCheckBox(this);
                box->setChecked(values.value(i) == QStringLiteral("-1"));
                // Shows the value; the card never changes the database.
                box->setAttribute(Qt::WA_TransparentForMouseEvents);
                box->setFocusPolicy(Qt::NoFocus);
                control = box;
            } else if (name == QStringLiteral("Text_17") || name == QStringLiteral("Text_18")) {
                auto *edit = new QPlainTextEdit(values.value(i), this);
                edit->setReadOnly(true);
                edit->setFixedHeight(name == QStringLiteral("Text_17") ? 40 : 76);
                control = edit;
            } else {
                auto *edit = new QLineEdit(values.value(i), this);
                edit->setReadOnly(true);
                edit->setCursorPosition(0);
                control = edit;
            }
            control->setObjectName(name);
            controls_.insert(name, control);
            // Two controls share a row: code (narrow) and description.
            if (f.controls.size() == 2)
                grid->addWidget(control, row, 1 + i);
            else
                grid->addWidget(control, row, 1, 1, 2);
        }
        ++row;
    }
    grid->setColumnStretch(2, 1);

    auto *buttons = new QHBoxLayout;
    const auto addButton = [&](const char *name, const char *italian, const char *english) {
        auto *b = new QPushButton(s.tr(QString::fromUtf8(italian), QString::fromUtf8(english)), this);
        b->setObjectName(QString::fromUtf8(name));
        buttons_.insert(b->objectName(), b);
        buttons->addWidget(b);
        return b;
    };
    connect(addButton("B_Corologia", "&Corotipi", "Chorotypes"), &QPushButton::clicked, this,
            [this] { showExplanations(QStringLiteral("Corologia")); });
    connect(addButton("B_Habitat", "&Habitat", "Habitats"), &QPushButton::clicked, this,
            [this] { showExplanations(QStringLiteral("Habitat")); });
    connect(addButton("B_COnservazione", "Conser&vazione", "Conservation"), &QPushButton::clicked, this,
            [this] { showExplanations(QStringLiteral("Conservazione")); });
    buttons->addStretch(1);
    connect(addButton("B_OK", "&OK", "&OK"), &QPushButton::clicked, this, &QWidget::close);

    auto *box = new QVBoxLayout(this);
    box->addLayout(grid);
    box->addLayout(buttons);
    resize(640, 560);
}

SpeciesCardWindow::~SpeciesCardWindow()
{
    closeExplanations();
}

QString SpeciesCardWindow::text(const QString &control) const
{
    QWidget *w = controls_.value(control);
    if (auto *line = qobject_cast<QLineEdit *>(w))
        return line->text();
    if (auto *area = qobject_cast<QPlainTextEdit *>(w))
        return area->toPlainText();
    return QString();
}

bool SpeciesCardWindow::checked(const QString &control) const
{
    auto *box = qobject_cast<QCheckBox *>(controls_.value(control));
    return box && box->isChecked();
}

QString SpeciesCardWindow::caption(const QString &labelOrButton) const
{
    if (QLabel *l = labels_.value(labelOrButton))
        return l->text();
    if (QPushButton *b = buttons_.value(labelOrButton))
        return b->text();
    return QString();
}

QPushButton *SpeciesCardWindow::button(const QString &name) const
{
    return buttons_.value(name);
}

void SpeciesCardWindow::showExplanations(const QString &list)
{
    closeExplanations();
    Settings &s = settings();
    const bool english = s.isEnglish();
    QString caption;
    if (list == QStringLiteral("Corologia")) {
        s.ExplTable = QStringLiteral("Corotipi");
        s.ExplCodeField = QStringLiteral("Corologia");
        s.ExplTextField = english ? QStringLiteral("Corotipi inglese") : QStringLiteral("Corotipi");
        s.ExplOrderField = QStringLiteral("Corologia");
        caption = english ? QStringLiteral("Chorotypes") : QStringLiteral("Categorie corologiche");
    } else if (list == QStringLiteral("Habitat")) {
        s.ExplTable = QStringLiteral("Habitat");
        s.ExplCodeField = QStringLiteral("Codice");
        s.ExplTextField = english ? QStringLiteral("Habitat inglese") : QStringLiteral("Habitat");
        s.ExplOrderField = QStringLiteral("Codice");
        caption = QStringLiteral("Habitat");
    } else {
        s.ExplTable = QStringLiteral("Conservazione");
        s.ExplCodeField = QStringLiteral("Codice");
        s.ExplTextField = english ? QStringLiteral("Conservation Status") : QStringLiteral("Stato di conservazione");
        s.ExplOrderField = QStringLiteral("Ordinamento");
        caption = english ? QStringLiteral("Conservation Status") : QStringLiteral("Conservazione");
    }
    openExplanations(caption);
}

}  // namespace ortolan::records
