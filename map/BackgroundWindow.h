#pragma once

#include <QPointer>
#include <QWidget>

class QPushButton;
class QRadioButton;

namespace ortolan::map {

class MapWidget;

// Form_Cartina: the choice of the map's background, hydrography (Option1) or
// administrative regions (Option2). OK (Command3) loads the chosen picture
// into the map, refits it to the full view and closes; Cancel (Command2)
// closes without change. A picture that cannot be loaded is reported as a
// missing file and leaves the map and the window as they were.
//
// A tool window of its own, centred on the screen one third down; it deletes
// itself when closed.
class BackgroundWindow : public QWidget {
    Q_OBJECT
public:
    explicit BackgroundWindow(MapWidget &map, QWidget *parent = nullptr);

    QRadioButton *option1() const { return m_option1; }
    QRadioButton *option2() const { return m_option2; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

    // Command3 and Command2.
    void apply();
    void cancel();

private:
    QPointer<MapWidget> m_map;
    QRadioButton *m_option1 = nullptr;
    QRadioButton *m_option2 = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};

}  // namespace ortolan::map
