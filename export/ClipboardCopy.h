#pragma once

class QWidget;

namespace ortolan::exporting {

// Copy_Picture: puts the current pixels of a picture surface (its visible
// client area, at its pixel size) on the system clipboard as an image,
// replacing whatever the clipboard held. A surface of no size leaves the
// clipboard unchanged. Returns whether the clipboard now holds the picture.
bool copyMapToClipboard(QWidget &surface);

}  // namespace ortolan::exporting
