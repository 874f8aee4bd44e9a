#include "browser/TaxonTree.h"

#include "app/Settings.h"
#include "browser/IconLibrary.h"
#include "app/MessageBoxes.h"
#include "browser/TreeBuilder.h"
#include "browser/WaitCursor.h"
#include "data/Connection.h"
#include "data/DataError.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QSet>

#include <algorithm>

namespace ortolan::browser {

namespace {
enum Role {
    KeyRole = Qt::UserRole,
    ImageRole,
    OpenImageRole,
    SortedRole,
    IndexRole,
};

// Every item of a subtree, the item itself first.
void collect(QTreeWidgetItem *item, QList<QTreeWidgetItem *> &out)
{
    out.append(item);
    for (int i = 0; i < item->childCount(); ++i)
        collect(item->child(i), out);
}
}  // namespace

TaxonTree::TaxonTree(QWidget *parent) : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("TreeView1"));
    setColumnCount(1);
    header()->hide();
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setIconSize(QSize(16, 16));
    setUniformRowHeights(true);
    connect(this, &QTreeWidget::itemExpanded, this, &TaxonTree::onExpanded);
    connect(this, &QTreeWidget::itemCollapsed, this, &TaxonTree::onCollapsed);
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) { emit nodeClicked(item); });
}

QString TaxonTree::keyOf(const QTreeWidgetItem *item) { return item ? item->data(0, KeyRole).toString() : QString(); }

QChar TaxonTree::kindOf(const QTreeWidgetItem *item)
{
    const QString key = keyOf(item);
    return key.isEmpty() ? QChar() : key.front();
}

int TaxonTree::indexOf(const QTreeWidgetItem *item) { return item ? item->data(0, IndexRole).toInt() : 0; }

bool TaxonTree::isSorted(const QTreeWidgetItem *item) { return item && item->data(0, SortedRole).toBool(); }

QString TaxonTree::fullPath(const QTreeWidgetItem *item)
{
    QStringList texts;
    for (; item; item = item->parent())
        texts.prepend(item->text(0));
    return texts.join(pathSeparator());
}

QTreeWidgetItem *TaxonTree::selectedNode() const
{
    const QList<QTreeWidgetItem *> selected = selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

void TaxonTree::loadGroups(const QString &filter)
{
    std::vector<TreeNode> nodes = TreeBuilder::groupLevels(filter);
    clear();
    byKey_.clear();
    byIndex_.clear();
    nextIndex_ = 1;
    filter_ = filter;
    addNodes(nodes);
}

void TaxonTree::addNodes(const std::vector<TreeNode> &nodes)
{
    setUpdatesEnabled(false);
    QList<QTreeWidgetItem *> toExpand;
    QSet<QTreeWidgetItem *> sortedParents;
    for (const TreeNode &n : nodes) {
        if (n.key.isEmpty() || byKey_.contains(n.key))
            continue;
        auto *item = new QTreeWidgetItem(QStringList{n.text});
        item->setData(0, KeyRole, n.key);
        item->setData(0, ImageRole, n.image);
        item->setData(0, OpenImageRole, n.expandedImage);
        item->setData(0, IndexRole, nextIndex_);
        item->setIcon(0, IconLibrary::icon(n.image));
        QTreeWidgetItem *parent = n.parentKey.isEmpty() ? nullptr : byKey_.value(n.parentKey);
        if (parent) {
            parent->addChild(item);
            if (isSorted(parent))
                sortedParents.insert(parent);
        } else {
            addTopLevelItem(item);
        }
        byKey_.insert(n.key, item);
        byIndex_.insert(nextIndex_++, item);
        if (n.expanded)
            toExpand.append(item);
    }
    for (QTreeWidgetItem *parent : std::as_const(sortedParents))
        sortChildrenOf(parent);
    for (QTreeWidgetItem *item : std::as_const(toExpand))
        item->setExpanded(true);
    setUpdatesEnabled(true);
}

void TaxonTree::showImage(QTreeWidgetItem *item, bool expanded)
{
    const QString key = item->data(0, expanded ? OpenImageRole : ImageRole).toString();
    item->setIcon(0, IconLibrary::icon(key));
}

void TaxonTree::onCollapsed(QTreeWidgetItem *item) { showImage(item, false); }

void TaxonTree::onExpanded(QTreeWidgetItem *item)
{
    showImage(item, true);
    if (kindOf(item) != u'O')
        return;
    try {
        loadOrder(item);
    } catch (const data::DataError &e) {
        showError(settings().messages.MsgDataError + e.description(), this);
    }
}

void TaxonTree::loadOrder(QTreeWidgetItem *item)
{
    if (kindOf(item) != u'O')
        return;
    QList<QTreeWidgetItem *> families;
    for (int i = 0; i < item->childCount(); ++i) {
        QTreeWidgetItem *child = item->child(i);
        if (kindOf(child) == u'F' && child->childCount() == 0)
            families.append(child);
    }
    if (families.isEmpty())
        return;
    WaitCursor wait;
    const auto db = data::Connection::openPrivate();
    for (QTreeWidgetItem *family : std::as_const(families))
        addNodes(TreeBuilder::familyTaxa(*db, keyOf(family).mid(1), filter_));
}

void TaxonTree::setSorted(QTreeWidgetItem *item, bool sorted)
{
    if (!item)
        return;
    item->setData(0, SortedRole, sorted);
    if (sorted)
        sortChildrenOf(item);
}

void TaxonTree::sortChildrenOf(QTreeWidgetItem *item)
{
    if (item->childCount() < 2)
        return;
    // Taking the children out of the view forgets which of them were expanded
    // and where the selection was: remember both and put them back.
    QList<QTreeWidgetItem *> subtree;
    for (int i = 0; i < item->childCount(); ++i)
        collect(item->child(i), subtree);
    QList<QTreeWidgetItem *> expanded;
    for (QTreeWidgetItem *node : std::as_const(subtree))
        if (node->isExpanded())
            expanded.append(node);
    QTreeWidgetItem *current = currentItem();
    const bool currentInside = current && subtree.contains(current);
    const bool currentSelected = current && current->isSelected();

    const QSignalBlocker blocker(this);
    QList<QTreeWidgetItem *> children = item->takeChildren();
    std::stable_sort(children.begin(), children.end(), [](const QTreeWidgetItem *a, const QTreeWidgetItem *b) {
        return a->text(0).compare(b->text(0), Qt::CaseInsensitive) < 0;
    });
    item->addChildren(children);
    for (QTreeWidgetItem *node : std::as_const(expanded))
        node->setExpanded(true);
    if (currentInside) {
        setCurrentItem(current);
        current->setSelected(currentSelected);
    }
}

void TaxonTree::forget(QTreeWidgetItem *item)
{
    QList<QTreeWidgetItem *> subtree;
    collect(item, subtree);
    for (QTreeWidgetItem *node : std::as_const(subtree)) {
        byKey_.remove(keyOf(node));
        byIndex_.remove(indexOf(node));
    }
}

void TaxonTree::removeChildren(QTreeWidgetItem *item)
{
    const QList<QTreeWidgetItem *> children = item->takeChildren();
    for (QTreeWidgetItem *child : children) {
        forget(child);
        delete child;
    }
}

void TaxonTree::reloadInCodeOrder(QTreeWidgetItem *item)
{
    if (!item)
        return;
    WaitCursor wait;
    std::vector<TreeNode> nodes;
    {
        const auto db = data::Connection::openPrivate();
        nodes = TreeBuilder::childrenInCodeOrder(*db, keyOf(item), filter_);
    }
    item->setData(0, SortedRole, false);
    setUpdatesEnabled(false);
    removeChildren(item);
    setUpdatesEnabled(true);
    addNodes(nodes);
}

QTreeWidgetItem *TaxonTree::revealTaxon(const QString &familyCode, const QString &taxonCode)
{
    QTreeWidgetItem *family = node(QLatin1Char('F') + familyCode);
    if (!family)
        return nullptr;
    // Expanding the order above the family loads its genera and species.
    QList<QTreeWidgetItem *> chain;
    for (QTreeWidgetItem *up = family->parent(); up; up = up->parent())
        chain.prepend(up);
    for (QTreeWidgetItem *up : std::as_const(chain))
        up->setExpanded(true);
    family->setExpanded(true);
    QTreeWidgetItem *found = node(QLatin1Char('S') + taxonCode);
    return found ? found : node(QLatin1Char('G') + taxonCode);
}

void TaxonTree::keyPressEvent(QKeyEvent *event)
{
    QTreeWidgetItem *before = currentItem();
    QTreeWidget::keyPressEvent(event);
    QTreeWidgetItem *after = currentItem();
    if (after && after != before)
        emit nodeClicked(after);
}

}  // namespace ortolan::browser
