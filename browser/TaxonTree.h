#pragma once

#include "browser/TreeNode.h"

#include <QHash>
#include <QTreeWidget>

#include <vector>

namespace ortolan::browser {

// TreeView1: the taxonomic tree of the species window. Nodes are addressed by
// their keys ("P…", "C…", "O…", "F…", "G…", "S…") and by their index (the
// order in which they were added, from 1, as the program-wide selection
// records it). The genera and species of an order's families are read from
// the database when the order is first expanded. A node whose Sorted flag is
// set shows its children in alphabetical order of their texts, also children
// added later.
class TaxonTree : public QTreeWidget {
    Q_OBJECT
public:
    explicit TaxonTree(QWidget *parent = nullptr);

    // CaricaSpecie's tree part: empties the tree and adds the group levels
    // under the filter. Throws data::DataError when the database fails.
    void loadGroups(const QString &filter);
    // The filter the tree was loaded under.
    QString filter() const { return filter_; }

    // Adds described nodes in order; keys already in the tree are skipped and
    // nodes whose parent is unknown become top-level nodes.
    void addNodes(const std::vector<TreeNode> &nodes);

    QTreeWidgetItem *node(const QString &key) const { return byKey_.value(key); }
    QTreeWidgetItem *nodeAt(int index) const { return byIndex_.value(index); }
    int nodeCount() const { return int(byKey_.size()); }
    static QString keyOf(const QTreeWidgetItem *item);
    static QChar kindOf(const QTreeWidgetItem *item);
    static int indexOf(const QTreeWidgetItem *item);
    // The node texts from the top level down to the item, joined by "\".
    static QString fullPath(const QTreeWidgetItem *item);
    static QString pathSeparator() { return QStringLiteral("\\"); }

    // The node the user has selected, or null.
    QTreeWidgetItem *selectedNode() const;

    // Sorted flag of a node.
    static bool isSorted(const QTreeWidgetItem *item);
    void setSorted(QTreeWidgetItem *item, bool sorted);
    // Clears the Sorted flag and replaces the node's children by the ones
    // read again in code order. Throws data::DataError; the children stay as
    // they were when the database fails.
    void reloadInCodeOrder(QTreeWidgetItem *item);

    // TreeView1_Expand for an order node: loads the genera and species of
    // its families that have none yet. Other nodes load nothing. Throws
    // data::DataError.
    void loadOrder(QTreeWidgetItem *item);

    // Reveals the node of a taxon of a family: expands the family's ancestors
    // (which loads the order's families) and the family. Returns the "S" or
    // "G" node of the code, or null when the tree has none.
    QTreeWidgetItem *revealTaxon(const QString &familyCode, const QString &taxonCode);

signals:
    // TreeView1_NodeClick: a click on a node, or a keyboard move onto one.
    void nodeClicked(QTreeWidgetItem *item);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void onExpanded(QTreeWidgetItem *item);
    void onCollapsed(QTreeWidgetItem *item);
    void showImage(QTreeWidgetItem *item, bool expanded);
    void sortChildrenOf(QTreeWidgetItem *item);
    void forget(QTreeWidgetItem *item);
    void removeChildren(QTreeWidgetItem *item);

    QString filter_;
    QHash<QString, QTreeWidgetItem *> byKey_;
    QHash<int, QTreeWidgetItem *> byIndex_;
    int nextIndex_ = 1;
};

}  // namespace ortolan::browser
