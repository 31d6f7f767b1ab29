#include "menufiltermodel.h"

#include "document/menuitemmodel.h"

namespace menutree {

using document::CItem;
using document::MenuItemModel;

namespace {

template <typename Visit>
void forEachNode(const document::ItemList &list, const Visit &visit)
{
    for (const CItem *node : list) {
        visit(node);
        forEachNode(node->entries(), visit);
    }
}

} // namespace

MenuFilterModel::MenuFilterModel(MenuItemModel &menus, QObject *parent) : QSortFilterProxyModel(parent), m_menus(menus)
{
    setRecursiveFilteringEnabled(true);
    setSourceModel(&menus);
    connect(&menus, &QAbstractItemModel::modelAboutToBeReset, this, [this] { m_kept.clear(); });
}

void MenuFilterModel::setFilterText(const QString &text, const CItem *current)
{
    if (text == m_text)
        return;
    m_text = text;
    m_kept.clear();
    if (current)
        m_kept.insert(current);
    invalidateRowsFilter();
}

void MenuFilterModel::reveal(const CItem *node)
{
    if (!node || !isFiltering())
        return;
    m_kept.insert(node);
    if (!mapFromSource(m_menus.indexOf(node)).isValid())
        invalidateRowsFilter();
}

bool MenuFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    const CItem *node = MenuItemModel::itemAt(m_menus.index(sourceRow, 0, sourceParent));
    if (!node || !isFiltering() || m_kept.contains(node))
        return true;
    if (!holdsText(node))
        return false;
    m_kept.insert(node);
    return true;
}

bool MenuFilterModel::holdsText(const CItem *node) const
{
    if (!node || !isFiltering())
        return false;
    const auto holds = [this](const QString &text) { return text.contains(m_text, Qt::CaseInsensitive); };
    if (document::isMainMenu(node))
        return holds(node->contentTitle()) || holds(node->tabDescription());
    return holds(node->title()) || holds(node->description()) || holds(node->location());
}

int MenuFilterModel::matchCount() const
{
    int count = 0;
    forEachNode(m_menus.entriesOf(nullptr), [&](const CItem *node) {
        count += !document::isMainMenu(node) && holdsText(node);
    });
    return count;
}

int MenuFilterModel::entryCount() const
{
    int count = 0;
    forEachNode(m_menus.entriesOf(nullptr), [&](const CItem *node) { count += !document::isMainMenu(node); });
    return count;
}

QList<const CItem *> MenuFilterModel::nodesInOrder() const
{
    QList<const CItem *> nodes;
    forEachNode(m_menus.entriesOf(nullptr), [&](const CItem *node) { nodes << node; });
    return nodes;
}

const CItem *MenuFilterModel::nextMatch(const CItem *from, int step) const
{
    const QList<const CItem *> nodes = nodesInOrder();
    const qsizetype count = nodes.size();
    // The root stands before the first node and after the last.
    qsizetype at = from ? nodes.indexOf(from) : -1;
    if (at < 0)
        at = step > 0 ? count - 1 : 0;
    for (qsizetype passed = 1; passed <= count; ++passed) {
        const CItem *node = nodes.at(((at + step * passed) % count + count) % count);
        if (holdsText(node))
            return node;
    }
    return nullptr;
}

QList<int> MenuFilterModel::matchesInLabel(const QModelIndex &index) const
{
    QList<int> starts;
    if (!isFiltering() || !holdsText(MenuItemModel::itemAt(index)))
        return starts;
    const QString label = index.data().toString();
    for (qsizetype at = label.indexOf(m_text, 0, Qt::CaseInsensitive); at >= 0;
         at = label.indexOf(m_text, at + m_text.size(), Qt::CaseInsensitive))
        starts << int(at);
    return starts;
}

} // namespace menutree
