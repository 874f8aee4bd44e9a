#include "map/BackgroundWindow.h"

#include "app/MessageBoxes.h"
#include "app/Settings.h"
#include "map/BackgroundMaps.h"
#include "map/MapWidget.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace ortolan::map {

BackgroundWindow::BackgroundWindow(MapWidget &map, QWidget *parent)
    : QWidget(parent, Qt::Dialog), m_map(&map)
{
    setObjectName(QStringLiteral("Form_Cartina"));
    setAttribute(Qt::WA_DeleteOnClose);
    const Settings &s = settings();
    setWindowTitle(s.tr(QStringLiteral("Scelta cartina"), QStringLiteral("Select background")));

    // Radio buttons of one parent exclude each other: choosing one clears the other.
    auto *options = new QGroupBox(this);
    m_option1 = new QRadioButton(s.tr(QStringLiteral("Idrografia"), QStringLiteral("Hydrography")), options);
    m_option1->setObjectName(QStringLiteral("Option1"));
    m_option2 = new QRadioButton(s.tr(QStringLiteral("Regioni"), QStringLiteral("Regions")), options);
    m_option2->setObjectName(QStringLiteral("Option2"));
    auto *optionLayout = new QVBoxLayout(options);
    optionLayout->addWidget(m_option1);
    optionLayout->addWidget(m_option2);

    m_ok = new QPushButton(QStringLiteral("&OK"), this);
    m_ok->setObjectName(QStringLiteral("Command3"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(s.tr(QStringLiteral("&Annulla"), QStringLiteral("&Cancel")), this);
    m_cancel->setObjectName(QStringLiteral("Command2"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(options);
    layout->addLayout(buttons);

    const QString current = map.backgroundName();
    m_option1->setChecked(current == backgrounds::Hydrography);
    m_option2->setChecked(current == backgrounds::Regions);

    connect(m_ok, &QPushButton::clicked, this, &BackgroundWindow::apply);
    connect(m_cancel, &QPushButton::clicked, this, &BackgroundWindow::cancel);

    adjustSize();
    setFixedSize(size());
    if (const QScreen *screen = parent ? parent->screen() : this->screen()) {
        const QRect area = screen->geometry();
        move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 3);
    }
}

void BackgroundWindow::apply()
{
    QString name;
    if (m_option1->isChecked())
        name = backgrounds::Hydrography;
    else if (m_option2->isChecked())
        name = backgrounds::Regions;
    if (name.isEmpty() || !m_map) {
        close();
        return;
    }
    if (!m_map->applyBackground(name)) {
        showError(settings().messages.MsgMissingFile + name, this);
        return;
    }
    close();
}

void BackgroundWindow::cancel() { close(); }

}  // namespace ortolan::map
