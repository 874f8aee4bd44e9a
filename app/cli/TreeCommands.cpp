// ortolan-cli tree / expand: the taxonomic tree as the species window builds it.
#include "app/Settings.h"
#include "app/cli/CliCommand.h"
#include "browser/TreeBuilder.h"
#include "data/Connection.h"
#include "data/DataError.h"

#include <QHash>

namespace ortolan::cli {

namespace {

bool isFilter(const QString &f)
{
    return f == Filter::All || f == Filter::Invertebrates || f == Filter::Vertebrates ||
           f == Filter::HabitatDirective || f == Filter::RedList || f == Filter::Alien;
}

// Takes "--filter KEY" (default "Tutto"); false with a message for a bad value.
bool takeFilter(QStringList &args, QString &filter)
{
    bool missing = false;
    filter = takeOption(args, QStringLiteral("--filter"), Filter::All, &missing);
    if (missing || !isFilter(filter)) {
        err(QStringLiteral("--filter takes Tutto, Invertebrati, Vertebrati, DirHabitat, RedList or Aliene"));
        return false;
    }
    return true;
}

// One line per node: two blanks per level below the top, the key, a tab, the text;
// species add a tab and their icon key.
void printNodes(const std::vector<browser::TreeNode> &nodes, QHash<QString, int> &depth, bool withIcons)
{
    for (const browser::TreeNode &n : nodes) {
        const int level = n.parentKey.isEmpty() ? 0 : depth.value(n.parentKey, -1) + 1;
        depth.insert(n.key, level);
        QString line = QString(level * 2, QLatin1Char(' ')) + n.key + QLatin1Char('\t') + n.text;
        if (withIcons && n.kind() == u'S')
            line += QLatin1Char('\t') + n.image;
        out(line);
    }
}

int runTree(const QStringList &arguments)
{
    QStringList args = arguments;
    QString filter;
    if (!takeFilter(args, filter))
        return 2;
    if (!args.isEmpty()) {
        err(QStringLiteral("unexpected argument '") + args.first() + QStringLiteral("'"));
        return 2;
    }
    if (!requireDatabase())
        return 2;
    try {
        QHash<QString, int> depth;
        printNodes(browser::TreeBuilder::groupLevels(filter), depth, false);
    } catch (const data::DataError &e) {
        err(settings().messages.MsgDataError + e.description());
        return 1;
    }
    return 0;
}

int runExpand(const QStringList &arguments)
{
    QStringList args = arguments;
    QString filter;
    if (!takeFilter(args, filter))
        return 2;
    if (args.size() != 1) {
        err(QStringLiteral("expand takes one order code (11 characters)"));
        return 2;
    }
    const QString orderKey = QLatin1Char('O') + args.first();
    if (!requireDatabase())
        return 2;
    try {
        const auto db = data::Connection::openPrivate();
        const std::vector<browser::TreeNode> groups = browser::TreeBuilder::groupLevels(*db, filter);
        bool orderFound = false;
        QHash<QString, int> depth;
        for (const browser::TreeNode &family : groups) {
            orderFound = orderFound || family.key == orderKey;
            if (family.parentKey != orderKey || family.kind() != u'F')
                continue;
            depth.insert(family.key, 0);
            out(family.key + QLatin1Char('\t') + family.text);
            printNodes(browser::TreeBuilder::familyTaxa(*db, family.code(), filter), depth, true);
        }
        if (!orderFound) {
            err(QStringLiteral("no order ") + args.first() + QStringLiteral(" in the tree under filter ") + filter);
            return 1;
        }
    } catch (const data::DataError &e) {
        err(settings().messages.MsgDataError + e.description());
        return 1;
    }
    return 0;
}

const CliRegistrar treeCommand({
    QStringLiteral("tree"),
    QStringLiteral("tree [--filter KEY]"),
    QStringLiteral("Prints the group levels of the taxonomic tree as the species window builds them under a\n"
                   "filter (Tutto, Invertebrati, Vertebrati, DirHabitat, RedList, Aliene; default Tutto):\n"
                   "one node per line, indented two blanks per level, key, tab, text.\n"
                   "Exit status: 0 printed, 1 the database could not be read, 2 bad usage or missing\n"
                   "database."),
    runTree,
});

const CliRegistrar expandCommand({
    QStringLiteral("expand"),
    QStringLiteral("expand ORDER_CODE [--filter KEY]"),
    QStringLiteral("Prints what expanding an order loads: each family of the order, then its genera and\n"
                   "species (indented under their family and genus), species followed by their icon key.\n"
                   "ORDER_CODE is an order's group code (11 characters, e.g. 044.001.001); --filter as\n"
                   "for 'tree'.\n"
                   "Exit status: 0 printed, 1 no such order in the tree or the database could not be\n"
                   "read, 2 bad usage or missing database."),
    runExpand,
});

}  // namespace

}  // namespace ortolan::cli
