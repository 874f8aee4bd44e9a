#include "browser/SpeciesMenus.h"

#include <QAction>
#include <QMenu>

namespace ortolan::browser {

namespace {

enum Flags : unsigned {
    Submenu = 1,
    Checkable = 2,
    CheckedAtStart = 4,
    SeparatorBefore = 8,
};

struct MenuEntry {
    const char *name;
    const char *parent;  // "" for a menu of the menu bar
    const char *italian;
    const char *english;  // "" when the English caption is the Italian one
    const char *key;      // command key, "" for items handled by the window
    unsigned flags;
};

constexpr MenuEntry kMenus[] = {
    {"File_mnu", "", "&File", "&File", "", Submenu},
    {"Home_mnu", "File_mnu", "&Home...", "&Home...", "", 0},
    {"Esporta_mnu", "File_mnu", "&Esporta cartina", "&Export map", "", Submenu | SeparatorBefore},
    {"Bitmap_mnu", "Esporta_mnu", "Bitmap (.&bmp)...", "", "", 0},
    {"Metafile_mnu", "Esporta_mnu", "Metafile (.&emf)...", "", "", 0},
    {"Shapefile_mnu", "Esporta_mnu", "Shapefile (.shp)...", "", "", 0},
    {"EsportaDati_mnu", "File_mnu", "Esporta &punti", "E&xport points", "", Submenu},
    {"DBF_mnu", "EsportaDati_mnu", "dBase (.&dbf)...", "", "", 0},
    {"XLS_mnu", "EsportaDati_mnu", "Excel (.&xls)...", "", "", 0},
    {"TXT_mnu", "EsportaDati_mnu", "Text (.&txt)...", "", "", 0},
    {"Stampa_mnu", "File_mnu", "&Stampa", "&Print preview", "", Submenu | SeparatorBefore},
    {"StColori_mnu", "Stampa_mnu", "Stampa colori...", "&Colours...", "StampaCol", 0},
    {"StBN_mnu", "Stampa_mnu", "Stampa b/n...", "&Black/white...", "StampaBW", 0},
    {"Esci_mnu", "File_mnu", "&Esci", "&Exit", "", SeparatorBefore},

    {"SpecieTree_mnu", "", "&Specie", "&Tree", "", Submenu},
    {"Espandi_mnu", "SpecieTree_mnu", "&Espandi", "Expan&d", "Espandi", 0},
    {"Collassa_mnu", "SpecieTree_mnu", "&Collassa", "&Collapse", "Collassa", 0},
    {"Ordina_mnu", "SpecieTree_mnu", "&Ordina", "Sor&t", "Ordina", Checkable | SeparatorBefore},
    {"Ricerca_mnu", "SpecieTree_mnu", "&Ricerca...", "Sea&rch...", "Ricerca", 0},
    {"Scheda_mnu", "SpecieTree_mnu", "&Scheda...", "&Details...", "Scheda", Checkable | SeparatorBefore},
    {"Stazioni_mnu", "SpecieTree_mnu", "Sta&zioni...", "Si&tes...", "Stazioni", Checkable},
    {"Biblio_mnu", "SpecieTree_mnu", "&Fonte dati...", "&Sources...", "Biblio", Checkable},
    {"Mappa_mnu", "SpecieTree_mnu", "&Mappa", "&Map", "Cartina", Checkable | CheckedAtStart | SeparatorBefore},

    {"Cartina_mnu", "", "&Cartina", "&Map", "", Submenu},
    {"Italia_mnu", "Cartina_mnu", "Tutta &Italia", "&Full extent", "Italia", 0},
    {"Selettore_mnu", "Cartina_mnu", "&Selettore", "&Select", "Simboli", Checkable | CheckedAtStart | SeparatorBefore},
    {"Reticolo_mnu", "Cartina_mnu", "&Reticolo", "&Grid", "Reticolo", Checkable | CheckedAtStart},
    {"ZoomIn_mnu", "Cartina_mnu", "Zoom &In", "", "ZoomIn", SeparatorBefore},
    {"ZoomOut_mnu", "Cartina_mnu", "Zoom &Out", "", "ZoomOut", 0},
    {"Area_mnu", "Cartina_mnu", "Zoom &Area", "", "Area", 0},
    {"Pan_mnu", "Cartina_mnu", "&Scorri", "&Pan", "Pan", 0},
    {"CopiaBMP_mnu", "Cartina_mnu", "&Copia nel clipboard", "&Copy to clipboard", "CopiaBMP", SeparatorBefore},
    {"Cartine_mnu", "Cartina_mnu", "Scelta &cartine...", "Select &background...", "SceltaCartine", 0},
    {"Tree_mnu", "Cartina_mnu", "&Albero", "&Tree", "Tree", Checkable | CheckedAtStart | SeparatorBefore},

    {"Filtro_mnu", "", "Fil&tri", "Fil&ter", "", Submenu},
    {"Tutto_mnu", "Filtro_mnu", "&Tutti i taxa", "&Full list", "Tutto", Checkable | CheckedAtStart},
    {"Invertebrati_mnu", "Filtro_mnu", "&Invertebrati", "&Invertebrates", "Invertebrati", Checkable | SeparatorBefore},
    {"Vertebrati_mnu", "Filtro_mnu", "&Vertebrati", "&Vertebrates", "Vertebrati", Checkable},
    {"DirHabitat_mnu", "Filtro_mnu", "&Direttiva Habitat", "Habitat &Directive", "DirHabitat",
     Checkable | SeparatorBefore},
    {"RedList_mnu", "Filtro_mnu", "Liste &Rosse", "&Red List", "RedList", Checkable},
    {"Alien_mnu", "Filtro_mnu", "Specie &aliene", "&Alien species", "Aliene", Checkable},

    {"Fin_mnu", "", "Fi&nestra", "&Window", "", Submenu},
    {"Ver_mnu", "Fin_mnu", "Affianca &verticalmente", "Tile &vertically", "", 0},
    {"Orizzontale_mnu", "Fin_mnu", "Affianca &orizzontalmente", "Tile &horizontally", "", 0},
    {"Cas_mnu", "Fin_mnu", "Sovra&pponi", "&Cascade", "", 0},

    {"Aiuto_mnu", "", "&?", "", "", Submenu},
    {"Aiuto", "Aiuto_mnu", "&Help", "", "", 0},
    {"Autori_mnu", "Aiuto_mnu", "&Autori", "&Authors", "", SeparatorBefore},
    {"Novità_mnu", "Aiuto_mnu", "&Novità", "&New features", "", 0},
    {"Info_mnu", "Aiuto_mnu", "&Informazioni", "About &Ortolan", "", SeparatorBefore},
};

const char *kItalianProperty = "ortolanItalian";
const char *kEnglishProperty = "ortolanEnglish";

}  // namespace

SpeciesMenus::SpeciesMenus(QWidget *window)
{
    for (const MenuEntry &entry : kMenus) {
        const QString name = QString::fromUtf8(entry.name);
        const QString italian = QString::fromUtf8(entry.italian);
        const QString english = *entry.english ? QString::fromUtf8(entry.english) : italian;
        QMenu *parent = menus_.value(QString::fromUtf8(entry.parent));
        if (parent && (entry.flags & SeparatorBefore))
            parent->addSeparator();

        QAction *action = nullptr;
        if (entry.flags & Submenu) {
            auto *menu = new QMenu(italian, window);
            menu->setObjectName(name);
            menus_.insert(name, menu);
            action = menu->menuAction();
            if (parent)
                parent->addMenu(menu);
            else
                top_.append(menu);
        } else {
            action = parent->addAction(italian);
            action->setObjectName(name);
            action->setData(QString::fromUtf8(entry.key));
            action->setCheckable(entry.flags & Checkable);
            action->setChecked(entry.flags & CheckedAtStart);
        }
        action->setProperty(kItalianProperty, italian);
        action->setProperty(kEnglishProperty, english);
        items_.insert(name, action);
        names_.append(name);
    }
}

QString SpeciesMenus::keyOf(const QAction *item) { return item ? item->data().toString() : QString(); }

void SpeciesMenus::setChecked(const QString &name, bool checked)
{
    if (QAction *a = item(name); a && a->isCheckable())
        a->setChecked(checked);
}

bool SpeciesMenus::isChecked(const QString &name) const
{
    const QAction *a = item(name);
    return a && a->isChecked();
}

void SpeciesMenus::setEnglish(bool english)
{
    for (QAction *action : std::as_const(items_)) {
        const QString text = action->property(english ? kEnglishProperty : kItalianProperty).toString();
        action->setText(text);
        if (QMenu *m = action->menu())
            m->setTitle(text);
    }
}

QStringList SpeciesMenus::filterItemNames()
{
    return {QStringLiteral("Tutto_mnu"),      QStringLiteral("Invertebrati_mnu"), QStringLiteral("Vertebrati_mnu"),
            QStringLiteral("DirHabitat_mnu"), QStringLiteral("RedList_mnu"),      QStringLiteral("Alien_mnu")};
}

}  // namespace ortolan::browser
