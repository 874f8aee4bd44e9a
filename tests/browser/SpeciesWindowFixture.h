#pragma once

#include "BrowserFixture.h"
#include "app/MessageBoxes.h"
#include "app/Settings.h"
#include "browser/CommandDispatcher.h"
#include "browser/SpeciesWindow.h"
#include "browser/TaxonTree.h"
#include "map/MapTools.h"

#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QToolBar>
#include <QTreeWidgetItem>

#include <gtest/gtest.h>

namespace ortolan::test {

// Map tools that count the map's work, with a zoom level the test can set.
class RecordingMapTools : public map::MapTools {
public:
    int riscalaCalls = 0;
    int backgroundCalls = 0;
    void riscala() override
    {
        ++riscalaCalls;
        MapTools::riscala();
    }
    void chooseBackground() override { ++backgroundCalls; }
    void setZoomLevel(int level) { zoomLevel_ = level; }
};

// Runs deferred deletions and pending events.
inline void settleEvents()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

struct ShownMessage {
    MessageKind kind;
    QString caption;
    QString text;
};

// A species window on the standard fixture checklist, English texts, with
// message boxes recorded instead of shown.
class SpeciesWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings().setLanguage(QStringLiteral("Inglese"));
        settings().CommandKey.clear();
        setMessageHandler([this](MessageKind kind, const QString &caption, const QString &text) {
            messages.push_back({kind, caption, text});
        });
        open(QStringLiteral("Tutto"));
    }
    void TearDown() override
    {
        if (window)
            window->unload();
        settle();
        setMessageHandler({});
    }

    void open(const QString &filter)
    {
        window = browser::openSpeciesWindow(filter);
        auto tools = std::make_unique<RecordingMapTools>();
        map = tools.get();
        window->setMapTools(std::move(tools));
        settle();
    }

    static void settle() { settleEvents(); }

    browser::TaxonTree *tree() const { return window->tree(); }
    QTreeWidgetItem *node(const char *key) const { return tree()->node(QString::fromUtf8(key)); }

    // Brings a node into the tree (expanding its order when it is a taxon)
    // and clicks it.
    QTreeWidgetItem *click(const char *key)
    {
        const QString k = QString::fromUtf8(key);
        if (!tree()->node(k))
            for (const char *order : {"O001.001.001", "O037.001.001", "O037.002.001", "O044.001.001"})
                if (QTreeWidgetItem *o = tree()->node(QString::fromUtf8(order)))
                    o->setExpanded(true);
        QTreeWidgetItem *item = tree()->node(k);
        EXPECT_TRUE(item) << key;
        if (!item)
            return nullptr;
        tree()->setCurrentItem(item);
        window->nodeClick(item);
        return item;
    }

    void menu(const char *name) { window->menuItem(QString::fromUtf8(name))->trigger(); }
    void toolbar(int bar, int position) { window->button(bar, position)->trigger(); }
    bool pressed(int bar, int position) const { return window->isPressed(bar, position); }
    bool checked(const char *name) const { return window->isMenuChecked(QString::fromUtf8(name)); }

    QString lastText() const { return messages.empty() ? QString() : messages.back().text; }

    BrowserDatabase fixture;
    QPointer<browser::SpeciesWindow> window;
    RecordingMapTools *map = nullptr;
    std::vector<ShownMessage> messages;
};

}  // namespace ortolan::test
