#pragma once

#include <QColor>
#include <QDir>
#include <QImage>
#include <QString>
#include <gtest/gtest.h>

namespace ortolan::metafile::test {

// True when the pixel at (x, y) is within tolerance of the expected colour
// on every channel.
inline ::testing::AssertionResult pixelIs(const QImage &image, int x, int y, const QColor &expected, int tolerance = 40)
{
    if (!image.rect().contains(x, y))
        return ::testing::AssertionFailure() << "(" << x << "," << y << ") outside the image";
    const QColor c = image.pixelColor(x, y);
    if (std::abs(c.red() - expected.red()) <= tolerance && std::abs(c.green() - expected.green()) <= tolerance
        && std::abs(c.blue() - expected.blue()) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel (" << x << "," << y << ") is " << c.name().toStdString()
                                         << ", expected " << expected.name().toStdString();
}

// Saves the image next to the test binary, for looking at after a failure.
inline void saveOnFailure(const QImage &image, const QString &name)
{
    if (::testing::Test::HasFailure())
        image.save(QDir::current().filePath(QStringLiteral("failed-") + name + QStringLiteral(".png")));
}

}  // namespace ortolan::metafile::test
