#include "records/SpeciesCardFields.h"

namespace ortolan::records {

namespace {

SpeciesCardField row(const char *label, const char *italian, const char *english, QStringList controls,
                     QStringList fields, bool isCheck = false)
{
    return {QString::fromUtf8(label), QString::fromUtf8(italian), QString::fromUtf8(english), std::move(controls),
            std::move(fields), isCheck};
}

QStringList names(std::initializer_list<const char *> list)
{
    QStringList out;
    for (const char *n : list)
        out.append(QString::fromUtf8(n));
    return out;
}

}  // namespace

const QList<SpeciesCardField> &SpeciesCardField::all()
{
    static const QList<SpeciesCardField> fields = {
        row("Label_01", "Codice della checklist", "Checklist code", names({"Text_01"}), names({"Codice_sp"})),
        row("Label_02", "Nome della specie/sottospecie", "Taxon name", names({"Text_02"}), names({"Nome_sp"})),
        row("Label_03", "Autore e anno di descrizione", "Author and date", names({"Text_03"}), names({"Autore"})),
        row("Label_04", "Variazioni rispetto alla checklist", "Recent updates", names({"Text_04"}),
            names({"Variazioni"})),
        row("Label_05", "Anno primo rinvenimento in Italia", "Firs record for Italy", names({"Text_05"}),
            names({"Anno"})),
        row("Label_06", "Categoria corologica", "Chorotype", names({"Text_06", "Text_07"}),
            names({"Specie.Corologia", "Corotipi"})),
        row("Label_07", "Habitat della larva", "Habitat (larva/juv)", names({"Text_08", "Text_09"}),
            names({"Habitat larva_1", "Habitat larva_2"})),
        row("Label_08", "Habitat dell'adulto", "Habitat (adult)", names({"Text_10", "Text_11"}),
            names({"Habitat adulto_3", "Habitat adulto_4"})),
        row("Label_09", "Alimentazione della larva", "Feeding (larva)", names({"Text_12"}),
            names({"Alimentazione larva"})),
        row("Label_10", "Alimentazione dell'adulto", "Feeding (adult)", names({"Text_13"}),
            names({"Alimentazione adulto"})),
        row("Label_11", "Dimensione della larva (mm)", "Size (larva/juv, mm)", names({"Text_14"}),
            names({"Dimensione larva"})),
        row("Label_12", "Dimensioni dell'adulto (mm)", "Size (adult, mm)", names({"Text_15"}),
            names({"Dimensione adulto"})),
        row("Label_13", "Introdotta in Italia", "Introduced to Italy", names({"Check_01"}), names({"Introdotta"}), true),
        row("Label_14", "Stato di conservazione", "Conservation status", names({"Text_16"}), names({"Conservazione"})),
        row("Label_15", "Endemica italiana sensu stricto", "Italian endemic sensu stricto", names({"Check_02"}),
            names({"Endemica"}), true),
        row("Label_16", "Bioindicatore", "Bioindicator", names({"Check_03"}), names({"Bioindicatore"}), true),
        row("Label_17", "Direttiva Habitat", "Habitat Directive", {}, {}),
        row("Label_18", "Prioritaria", "Prioritary", names({"Check_04"}), names({"Prioritaria"}), true),
        row("Label_19", "All. II", "Ann. II", names({"Check_05"}), names({"Allegato II"}), true),
        row("Label_20", "All. IV", "Ann. IV", names({"Check_06"}), names({"Allegato IV"}), true),
        row("Label_21", "All. V", "Ann. V", names({"Check_07"}), names({"Allegato V"}), true),
        row("Label_22", "Referenti scientifici", "Data owners", names({"Text_17"}), names({"Specialista"})),
        row("Label_23", "Note", "Notes", names({"Text_18"}), names({"Note"})),
    };
    return fields;
}

bool isChecked(const QVariant &value)
{
    if (value.isNull())
        return false;
    bool ok = false;
    const qlonglong n = value.toLongLong(&ok);
    return ok ? n != 0 : value.toBool();
}

QStringList SpeciesCardField::values(const data::Recordset &card) const
{
    QStringList out;
    const bool hasRow = !card.rows().empty();
    for (const QString &field : fields) {
        QVariant value;
        if (hasRow) {
            const int i = card.fieldIndex(field);
            if (i >= 0 && size_t(i) < card.rows().front().size())
                value = card.rows().front()[size_t(i)];
        }
        if (isCheck)
            out.append(isChecked(value) ? QStringLiteral("-1") : QStringLiteral("0"));
        else
            out.append(value.isNull() ? QString() : value.toString());
    }
    return out;
}

}  // namespace ortolan::records
