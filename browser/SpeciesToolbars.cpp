#include "browser/SpeciesToolbars.h"

#include "browser/IconLibrary.h"

#include <QAction>
#include <QActionGroup>
#include <QToolBar>

namespace ortolan::browser {

namespace {

enum class Style { Separator, Button, Check, Group };

struct ButtonEntry {
    int toolbar;
    Style style;
    const char *key;
    bool pressedAtStart;
    const char *icon;
    const char *italian;
    const char *english;
};

// Both toolbars, in position order.
constexpr ButtonEntry kButtons[] = {
    {1, Style::Button, "Espandi", false, "expand", "Espandi categorie inferiori", "Expand"},
    {1, Style::Button, "Collassa", false, "collapse", "Collassa alla categoria superiore", "Collapse"},
    {1, Style::Separator, "", false, "", "", ""},
    {1, Style::Check, "Ordina", false, "sort", "Ordine alfabetico", "Sort"},
    {1, Style::Button, "Ricerca", false, "search", "Cerca genere/specie", "Search"},
    {1, Style::Separator, "", false, "", "", ""},
    {1, Style::Check, "Scheda", false, "card", "Scheda specie", "Details"},
    {1, Style::Check, "Stazioni", false, "sites", "Stazioni", "Sites"},
    {1, Style::Check, "Biblio", false, "sources", "Fonte dati", "Sources"},
    {1, Style::Separator, "", false, "", "", ""},
    {1, Style::Check, "Cartina", true, "map", "Cartina", "View/hide map"},
    {1, Style::Button, "Aiuto", false, "help", "Aiuto", "Help"},

    {2, Style::Button, "Italia", false, "full_extent", "Tutta Italia", "Full extent"},
    {2, Style::Check, "Simboli", true, "select", "Seleziona stazione", "Select"},
    {2, Style::Check, "Reticolo", true, "grid", "Reticolo", "Grid"},
    {2, Style::Separator, "", false, "", "", ""},
    {2, Style::Group, "ZoomIn", false, "zoom_in", "Ingrandisci", "Zoom In"},
    {2, Style::Group, "ZoomOut", false, "zoom_out", "Rimpicciolisci", "Zoom Out"},
    {2, Style::Group, "Area", false, "zoom_area", "Area", "Zoom Area"},
    {2, Style::Group, "Pan", false, "pan", "Scorri", "Pan"},
    {2, Style::Separator, "", false, "", "", ""},
    {2, Style::Button, "CopiaBMP", false, "copy", "Copia nel clipboard", "Copy to clipboard"},
    {2, Style::Button, "StampaCol", false, "print_colour", "Stampa colori", "Colour print"},
    {2, Style::Button, "StampaBW", false, "print_bw", "Stampa b/n", "B/W print"},
    {2, Style::Separator, "", false, "", "", ""},
    {2, Style::Button, "SceltaCartine", false, "background", "Opzioni", "Select background"},
    {2, Style::Separator, "", false, "", "", ""},
    {2, Style::Check, "Tree", true, "tree_pane", "Albero specie", "View/hide tree"},
};

const char *kItalianProperty = "ortolanItalian";
const char *kEnglishProperty = "ortolanEnglish";

}  // namespace

SpeciesToolbars::SpeciesToolbars(QWidget *window)
{
    for (int i = 0; i < 2; ++i) {
        bars_[i] = new QToolBar(window);
        bars_[i]->setObjectName(i == 0 ? QStringLiteral("Toolbar1") : QStringLiteral("Toolbar2"));
        bars_[i]->setMovable(false);
        bars_[i]->setFloatable(false);
        bars_[i]->setIconSize(QSize(20, 20));
        bars_[i]->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
    tools_ = new QActionGroup(bars_[1]);
    tools_->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);

    for (const ButtonEntry &entry : kButtons) {
        QToolBar *bar = bars_[entry.toolbar - 1];
        if (entry.style == Style::Separator) {
            bar->addSeparator();
            continue;
        }
        const QString key = QString::fromUtf8(entry.key);
        QAction *action = bar->addAction(IconLibrary::icon(QString::fromUtf8(entry.icon)), key);
        action->setObjectName(key);
        action->setData(key);
        action->setProperty(kItalianProperty, QString::fromUtf8(entry.italian));
        action->setProperty(kEnglishProperty, QString::fromUtf8(entry.english));
        if (entry.style != Style::Button) {
            action->setCheckable(true);
            action->setChecked(entry.pressedAtStart);
        }
        if (entry.style == Style::Group)
            tools_->addAction(action);
    }
    setEnglish(false);
    for (QToolBar *bar : bars_)
        bar->adjustSize();
}

QToolBar *SpeciesToolbars::bar(int toolbar) const
{
    return toolbar == 1 || toolbar == 2 ? bars_[toolbar - 1] : nullptr;
}

QAction *SpeciesToolbars::button(int toolbar, int position) const
{
    const QToolBar *b = bar(toolbar);
    if (!b)
        return nullptr;
    const QList<QAction *> actions = b->actions();
    return position >= 1 && position <= actions.size() ? actions.at(position - 1) : nullptr;
}

int SpeciesToolbars::buttonCount(int toolbar) const
{
    const QToolBar *b = bar(toolbar);
    return b ? int(b->actions().size()) : 0;
}

int SpeciesToolbars::position(int toolbar, const QString &key) const
{
    const QToolBar *b = bar(toolbar);
    if (!b || key.isEmpty())
        return 0;
    const QList<QAction *> actions = b->actions();
    for (qsizetype i = 0; i < actions.size(); ++i)
        if (keyOf(actions[i]) == key)
            return int(i) + 1;
    return 0;
}

QString SpeciesToolbars::keyOf(const QAction *button) { return button ? button->data().toString() : QString(); }

bool SpeciesToolbars::isPressed(int toolbar, int position) const
{
    const QAction *a = button(toolbar, position);
    return a && a->isChecked();
}

void SpeciesToolbars::setPressed(int toolbar, int position, bool pressed)
{
    QAction *a = button(toolbar, position);
    if (a && a->isCheckable())
        a->setChecked(pressed);
}

void SpeciesToolbars::setEnglish(bool english)
{
    for (QToolBar *bar : bars_) {
        for (QAction *action : bar->actions()) {
            if (action->isSeparator())
                continue;
            const QString tip = action->property(english ? kEnglishProperty : kItalianProperty).toString();
            action->setText(tip);
            action->setToolTip(tip);
        }
    }
}

}  // namespace ortolan::browser
