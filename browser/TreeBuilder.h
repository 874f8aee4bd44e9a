#pragma once

#include "browser/TreeNode.h"

#include <QString>

#include <vector>

namespace ortolan::data {
class Connection;
}

namespace ortolan::browser {

// Builds the node descriptions of the taxonomic tree from the species
// database: the group levels loaded when the species window opens
// (CaricaSpecie), the genera and species of a family loaded when its order is
// expanded, and the children of a node re-read in code order when the sort
// command un-sorts it. Nodes come out in the order they are to be added; every
// parent key names a node that comes earlier in the same list or that is
// already in the tree.
//
// The functions that take a connection run their queries on it; the caller
// opens it (private workspace) and closes it at the end of the operation.
// Database failures propagate as data::DataError.
class TreeBuilder {
public:
    // CaricaSpecie: the four group levels under a tree filter. A filter that
    // is not one of the six known values reuses the query of the previous call
    // (none before the first call: no nodes).
    static std::vector<TreeNode> groupLevels(data::Connection &db, const QString &filter);
    // The same on a connection of its own.
    static std::vector<TreeNode> groupLevels(const QString &filter);

    // The genera ("G", under "F" + family code) and species ("S", under the
    // genus that precedes them in code order) of one family.
    static std::vector<TreeNode> familyTaxa(data::Connection &db, const QString &familyCode, const QString &filter);

    // The children of a "C", "O", "F" or "G" node in code order, as the sort
    // command adds them back when it un-sorts the node. Other kinds have no
    // children to re-read: empty.
    static std::vector<TreeNode> childrenInCodeOrder(data::Connection &db, const QString &nodeKey,
                                                     const QString &filter);

    // Image keys of the group, family and genus nodes.
    static QString closedGroupImage() { return QStringLiteral("O_closed"); }
    static QString openGroupImage() { return QStringLiteral("O_open"); }
    static QString closedFamilyImage() { return QStringLiteral("F_closed"); }
    static QString openFamilyImage() { return QStringLiteral("F_open"); }
};

}  // namespace ortolan::browser
