#pragma once

namespace ortolan::browser {

// The windows the species window opens and closes with itself. Card, Sites
// and Sources each belong to a toggle button of the tree toolbar (positions
// 7, 8 and 9) that stays pressed while the window is open.
enum class RecordWindowKind {
    Card,          // Form_Scheda
    Sites,         // Form_Stazioni
    Sources,       // Form_Biblio
    Search,        // Form_Ricerca
    Explanations,  // Form_Expl
    About,         // Form_Info
    Preview,       // Form_Preview
    Background,    // Form_Cartina
    Other,
};

}  // namespace ortolan::browser
