#include "browser/TreeBuilder.h"

#include "browser/SpeciesIcons.h"
#include "data/Connection.h"
#include "data/Queries.h"
#include "data/Recordset.h"

#include <QSet>

namespace ortolan::browser {

namespace {

// Reads one row's value as text: null becomes an empty string.
QString cell(const std::vector<QVariant> &row, int column)
{
    return column >= 0 && column < int(row.size()) ? row[size_t(column)].toString() : QString();
}

TreeNode groupNode(QChar kind, const QString &code, const QString &parentKey, const QString &text, bool expanded)
{
    const bool family = kind == u'F' || kind == u'G';
    return {kind + code, parentKey, text,
            family ? TreeBuilder::closedFamilyImage() : TreeBuilder::closedGroupImage(),
            family ? TreeBuilder::openFamilyImage() : TreeBuilder::openGroupImage(), expanded};
}

TreeNode speciesNode(const QString &code, const QString &parentKey, const QString &name, const QString &author,
                     const QString &conservazione, const QString &filter)
{
    const QString icon = Set_Icons(code, conservazione, filter);
    return {QLatin1Char('S') + code, parentKey, name + QLatin1Char(' ') + author, icon, icon, false};
}

// Keeps the list consistent for the widget: a key that repeats an earlier one
// is dropped, and a node whose parent is neither in the list nor among the
// known keys becomes a top-level node (a filtered list can leave out the
// group a row would hang under).
std::vector<TreeNode> settled(std::vector<TreeNode> nodes, QSet<QString> known = {})
{
    std::vector<TreeNode> out;
    out.reserve(nodes.size());
    for (TreeNode &n : nodes) {
        if (known.contains(n.key))
            continue;
        if (!n.parentKey.isEmpty() && !known.contains(n.parentKey))
            n.parentKey.clear();
        known.insert(n.key);
        out.push_back(std::move(n));
    }
    return out;
}

// The genera and species of a family listing (code, name, author, ...): a row
// whose code ends in "." opens a genus, every other row hangs under the genus
// opened last, or under the family itself when no genus precedes it.
std::vector<TreeNode> taxaOfFamily(const data::Recordset &rs, const QString &familyKey, const QString &filter)
{
    const int conservation = rs.fieldIndex(QStringLiteral("conservazione"));
    std::vector<TreeNode> nodes;
    QString genusKey;
    for (const auto &row : rs.rows()) {
        const QString code = cell(row, 0);
        if (code.isEmpty())
            continue;
        if (code.endsWith(QLatin1Char('.'))) {
            nodes.push_back(groupNode(u'G', code, familyKey, cell(row, 1), false));
            genusKey = nodes.back().key;
        } else {
            nodes.push_back(speciesNode(code, genusKey.isEmpty() ? familyKey : genusKey, cell(row, 1), cell(row, 2),
                                        cell(row, conservation), filter));
        }
    }
    return nodes;
}

QString &previousFirstLevelQuery()
{
    static QString text;
    return text;
}

}  // namespace

std::vector<TreeNode> TreeBuilder::groupLevels(data::Connection &db, const QString &filter)
{
    QString sql = data::queries::firstLevel(filter);
    if (sql.isEmpty())
        sql = previousFirstLevelQuery();
    if (sql.isEmpty())
        return {};
    previousFirstLevelQuery() = sql;

    const data::Recordset rs = db.openRecordset(sql);
    // The most recent codes of lengths 3, 7 and 11: a group hangs under the
    // nearest of them, because the filtered lists leave out the groups that
    // do not qualify.
    QString code3, code7, code11;
    std::vector<TreeNode> nodes;
    nodes.reserve(rs.rows().size());
    for (const auto &row : rs.rows()) {
        const QString code = cell(row, 0);
        const QString text = cell(row, 1);
        switch (code.size()) {
        case 3:
            nodes.push_back(groupNode(u'P', code, QString(), text, true));
            code3 = code;
            code7.clear();
            code11.clear();
            break;
        case 7:
            nodes.push_back(groupNode(u'C', code, QLatin1Char('P') + code.left(3), text, true));
            code7 = code;
            code11.clear();
            break;
        case 11:
            nodes.push_back(groupNode(u'O', code, code7.isEmpty() ? QLatin1Char('P') + code3 : QLatin1Char('C') + code7,
                                      text, false));
            code11 = code;
            break;
        case 15: {
            const QString parent = !code11.isEmpty() ? QLatin1Char('O') + code11
                                   : !code7.isEmpty() ? QLatin1Char('C') + code7
                                                      : QLatin1Char('P') + code3;
            nodes.push_back(groupNode(u'F', code, parent, text, false));
            break;
        }
        default:
            break;  // not a group level of the tree
        }
    }
    return settled(std::move(nodes));
}

std::vector<TreeNode> TreeBuilder::groupLevels(const QString &filter)
{
    const auto db = data::Connection::openPrivate();
    return groupLevels(*db, filter);
}

std::vector<TreeNode> TreeBuilder::familyTaxa(data::Connection &db, const QString &familyCode, const QString &filter)
{
    const QString familyKey = QLatin1Char('F') + familyCode;
    const data::Recordset rs = db.openRecordset(data::queries::familyTaxa(familyCode, filter));
    return settled(taxaOfFamily(rs, familyKey, filter), {familyKey});
}

std::vector<TreeNode> TreeBuilder::childrenInCodeOrder(data::Connection &db, const QString &nodeKey,
                                                       const QString &filter)
{
    if (nodeKey.size() < 2)
        return {};
    const QChar kind = nodeKey.front();
    const QString code = nodeKey.mid(1);
    std::vector<TreeNode> nodes;

    if (kind == u'C' || kind == u'O') {
        const data::Recordset rs = db.openRecordset(data::queries::groupsBelow(code, filter));
        // Below a second-level group, families hang under the order row read
        // last (or under the group itself when none was read yet).
        QString orderKey;
        for (const auto &row : rs.rows()) {
            const QString child = cell(row, 0);
            if (kind == u'C' && child.size() == 11) {
                nodes.push_back(groupNode(u'O', child, nodeKey, cell(row, 1), false));
                orderKey = nodes.back().key;
            } else if (child.size() == 15) {
                nodes.push_back(groupNode(u'F', child, orderKey.isEmpty() ? nodeKey : orderKey, cell(row, 1), false));
            }
        }
    } else if (kind == u'F') {
        const data::Recordset rs = db.openRecordset(data::queries::familyTaxaForSort(code, filter));
        nodes = taxaOfFamily(rs, nodeKey, filter);
    } else if (kind == u'G') {
        const data::Recordset rs = db.openRecordset(data::queries::genusTaxa(code, filter));
        const int conservation = rs.fieldIndex(QStringLiteral("conservazione"));
        for (const auto &row : rs.rows()) {
            const QString taxon = cell(row, 0);
            if (!taxon.isEmpty())
                nodes.push_back(speciesNode(taxon, nodeKey, cell(row, 1), cell(row, 2), cell(row, conservation), filter));
        }
    }
    return settled(std::move(nodes), {nodeKey});
}

}  // namespace ortolan::browser
