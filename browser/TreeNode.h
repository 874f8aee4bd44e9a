#pragma once

#include <QString>

namespace ortolan::browser {

// One node of the taxonomic tree as the tree builder produces it, before any
// widget exists: the tree widget, the command-line tool and the tests all work
// from these descriptions.
//
// Keys are one kind letter followed by the code: "P" top-level group, "C"
// second-level group, "O" order level, "F" family level (group codes of 3, 7,
// 11 and 15 characters), "G" genus and "S" species or subspecies (taxon codes).
struct TreeNode {
    QString key;
    QString parentKey;      // empty for a top-level node
    QString text;           // group name, genus name, or species name + " " + author
    QString image;          // image key shown while collapsed
    QString expandedImage;  // image key shown while expanded
    bool expanded = false;  // shown expanded when added

    QChar kind() const { return key.isEmpty() ? QChar() : key.front(); }
    QString code() const { return key.mid(1); }
};

}  // namespace ortolan::browser
