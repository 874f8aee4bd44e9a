#pragma once

#include <QIcon>
#include <QString>

namespace ortolan::browser {

// The program's pictograms (tree images and toolbar buttons), drawn as small
// SVG files in assets/icons/ and bundled as resources under ":/icons/".
// Each icon is rendered once per size and kept.
class IconLibrary {
public:
    // The icon of an image key ("O_closed", "Lep", "zoom_in", ...); a null icon
    // for an unknown key.
    static QIcon icon(const QString &key);
    // True when the key names a bundled picture.
    static bool has(const QString &key);
    // Path of the resource of a key.
    static QString resourcePath(const QString &key);
};

}  // namespace ortolan::browser
