#pragma once

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace ortolan::test {

// Colours of the small test background: sea, land and coast. None of them is
// the dots' pure red, so a red pixel can only come from a dot.
inline const QColor TestSea(190, 220, 240);
inline const QColor TestLand(245, 235, 200);
inline const QColor TestCoast(70, 110, 160);

// A placeable WMF in the frame of the shipped maps (0, 0)-(11000, 14600) at
// 2540 units per inch (110 x 146 mm): a sea rectangle and a diagonal band of
// land with a coast line. landColour changes the land, to tell two pictures apart.
QByteArray smallMapWmf(const QColor &landColour = TestLand);

// A temporary application folder holding the test background under the
// shipped maps' names (each picture optional), pointed at by
// settings().ApplicationFolder while the object lives. The regions map has
// grey land.
class MapFolder {
public:
    explicit MapFolder(bool hydrography = true, bool regions = true);
    ~MapFolder();
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QString m_previousFolder;
};

}  // namespace ortolan::test
