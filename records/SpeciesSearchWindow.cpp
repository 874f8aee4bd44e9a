#include "records/SpeciesSearchWindow.h"

#include "app/MessageBoxes.h"
#include "app/Settings.h"
#include "browser/SpeciesWindow.h"
#include "browser/TaxonTree.h"
#include "data/Connection.h"
#include "data/DataError.h"
#include "data/Queries.h"
#include "records/WaitPointer.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace ortolan::records {

namespace {

// The node of a found name below its family node: a species or subspecies
// node shows the name, a blank and the author; a genus node the name alone.
QTreeWidgetItem *findBelow(QTreeWidgetItem *family, const QString &name, const QString &nodeText)
{
    for (int i = 0; i < family->childCount(); ++i) {
        QTreeWidgetItem *child = family->child(i);
        if (child->text(0) == nodeText || (browser::TaxonTree::kindOf(child) == u'G' && child->text(0) == name))
            return child;
        if (QTreeWidgetItem *deeper = findBelow(child, name, nodeText))
            return deeper;
    }
    return nullptr;
}

}  // namespace

SpeciesSearchWindow::SpeciesSearchWindow(browser::SpeciesWindow &owner, QWidget *parent)
    : QWidget(parent), owner_(&owner)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("Form_Ricerca"));
    const Settings &s = settings();
    setWindowTitle(s.tr(QStringLiteral("Ricerca"), QStringLiteral("Search")));

    auto *step1 = new QLabel(
        s.tr(QStringLiteral("1 - Inserire nella casella il nome o parte del nome del genere, specie o sottospecie e "
                            "premere Trova o il tasto Enter; sono ammessi i caratteri jolly ? e *"),
             QStringLiteral("1 - Type the name or part of the name of the genus, species or subspecies in the box and "
                            "press Find or Enter; jolly characters ? and * are allowed")),
        this);
    step1->setObjectName(QStringLiteral("LabelRicerca"));
    step1->setWordWrap(true);
    text_ = new QLineEdit(this);
    text_->setObjectName(QStringLiteral("TestoRicerca"));
    auto *find = new QPushButton(s.tr(QStringLiteral("&Trova"), QStringLiteral("&Find")), this);
    find->setObjectName(QStringLiteral("Command1"));
    auto *step2 = new QLabel(
        s.tr(QStringLiteral("2 - Selezionare il genere, la specie o la sottospecie desiderata dall'elenco e premere OK "
                            "o doppio click"),
             QStringLiteral("2 - Select the genus, species, or subspecies name from the list below and press OK or "
                            "double click on it")),
        this);
    step2->setObjectName(QStringLiteral("LabelLista"));
    step2->setWordWrap(true);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("ListaSpecie"));
    // One line of text per name: the list need not measure every item.
    list_->setUniformItemSizes(true);
    list_->installEventFilter(this);
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Command2"));
    auto *cancel = new QPushButton(s.tr(QStringLiteral("&Annulla"), QStringLiteral("&Cancel")), this);
    cancel->setObjectName(QStringLiteral("Command3"));

    auto *box = new QVBoxLayout(this);
    box->addWidget(step1);
    auto *row = new QHBoxLayout;
    row->addWidget(text_, 1);
    row->addWidget(find);
    box->addLayout(row);
    box->addWidget(step2);
    box->addWidget(list_, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    box->addLayout(buttons);

    connect(find, &QPushButton::clicked, this, &SpeciesSearchWindow::find);
    connect(text_, &QLineEdit::returnPressed, this, &SpeciesSearchWindow::find);
    connect(ok, &QPushButton::clicked, this, &SpeciesSearchWindow::showChosen);
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] {
        if (list_->currentItem())
            showChosen();
    });
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
    resize(440, 400);
}

bool SpeciesSearchWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && list_->currentItem()) {
            showChosen();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SpeciesSearchWindow::find()
{
    WaitPointer wait;
    if (text_->text().isEmpty())
        return;
    list_->clear();
    try {
        // The text goes into the query as typed, apostrophes doubled: * and ?
        // stay wildcards; other characters match themselves.
        const auto db = data::Connection::openDefault();
        const data::Recordset rs = db->openRecordset(data::queries::searchByName(text_->text(), settings().TreeFilter));
        // All names in one insertion: a short text matches most of the
        // checklist, and adding ten thousand items one by one lays the list
        // out ten thousand times.
        QStringList names;
        names.reserve(qsizetype(rs.rows().size()));
        for (const auto &r : rs.rows())
            names << (r.size() > 1 ? r[1].toString() : QString());
        list_->addItems(names);
    } catch (const data::DataError &e) {
        showError(settings().messages.MsgDataError + e.description(), this);
    }
    if (list_->count() > 0)
        list_->setCurrentRow(0);
    list_->setFocus();
}

QTreeWidgetItem *SpeciesSearchWindow::showChosen()
{
    QTreeWidgetItem *found = nullptr;
    {
        WaitPointer wait;
        try {
            if (!owner_ || !list_->currentItem())
                throw data::DataError(QString());
            const QString name = list_->currentItem()->text();
            const auto db = data::Connection::openPrivate();
            data::Recordset rs = db->openRecordset(data::queries::taxonByName(name));
            rs.moveFirst();
            const QString family = rs.text(0);
            const QString nodeText = rs.text(1) + QLatin1Char(' ') + rs.text(2);
            browser::TaxonTree *tree = owner_->tree();
            // Revealing the family expands its order, which loads the genera
            // and species of its families.
            tree->revealTaxon(family, QString());
            if (QTreeWidgetItem *familyNode = tree->node(QLatin1Char('F') + family))
                found = findBelow(familyNode, rs.text(1), nodeText);
        } catch (const data::DataError &) {
            showInfo(settings().messages.MsgSelectSpecies, this);
            return nullptr;
        }
    }
    if (!found)
        return nullptr;  // not in the tree under this filter: the window stays open
    owner_->showFoundNode(found);
    close();
    return found;
}

}  // namespace ortolan::records
