#pragma once

#include <QWidget>

#include <cmath>

namespace ortolan::browser {

// Lengths of the window layouts are written in twips, 1440 to the inch. This
// is the one place where they meet pixels: at the logical resolution of the
// widget they are measured on (96 dpi gives 15 twips to the pixel).
class Twips {
public:
    static constexpr double PerInch = 1440.0;

    explicit Twips(const QWidget *w)
        : perPixelX_(PerInch / dpi(w ? w->logicalDpiX() : 0)), perPixelY_(PerInch / dpi(w ? w->logicalDpiY() : 0))
    {
    }

    double fromPixelsX(double px) const { return px * perPixelX_; }
    double fromPixelsY(double px) const { return px * perPixelY_; }
    int toPixelsX(double twips) const { return int(std::lround(twips / perPixelX_)); }
    int toPixelsY(double twips) const { return int(std::lround(twips / perPixelY_)); }

private:
    static double dpi(int logical) { return logical > 0 ? double(logical) : 96.0; }
    double perPixelX_;
    double perPixelY_;
};

}  // namespace ortolan::browser
