#pragma once
// The filter between the document's menus and the tree: with a text, only the nodes that hold it
// (in the title, the description or the location, whatever the case) show, with the main menus
// and sub-menus above them; the root always shows. A node that matched, or was current, since the
// text last changed keeps showing until it changes again, even when an edit takes the text out
// of it: nothing vanishes under the user's hands. The page reveals every node that becomes
// current, and every command that puts a node into the menus makes it current.
#include <QSet>
#include <QSortFilterProxyModel>

namespace document {
class CItem;
class MenuItemModel;
}

namespace menutree {

class MenuFilterModel : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit MenuFilterModel(document::MenuItemModel &menus, QObject *parent = nullptr);

    QString filterText() const { return m_text; }
    bool isFiltering() const { return !m_text.isEmpty(); }
    // Filters with another text; the current node (none: the root) stays shown with it.
    void setFilterText(const QString &text, const document::CItem *current);
    // Keeps a node shown until the text changes, at once when it is hidden.
    void reveal(const document::CItem *node);

    // Does a node hold the text? Never the root, nor anything while there is no text.
    bool holdsText(const document::CItem *node) const;
    // The entries and sub-entries that hold the text, and all of them.
    int matchCount() const;
    int entryCount() const;
    // The next node after from (none: the root) in tree order that holds the text, or the one
    // before it (step -1), round the end; none when no node holds it.
    const document::CItem *nextMatch(const document::CItem *from, int step) const;
    // Where the text stands in a shown node's label: the start of each occurrence.
    QList<int> matchesInLabel(const QModelIndex &index) const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    // Every node but the root, in tree order.
    QList<const document::CItem *> nodesInOrder() const;

    document::MenuItemModel &m_menus;
    QString m_text;
    // The nodes that showed since the text last changed, filled while filtering: a node that
    // matched once is remembered without being asked again.
    mutable QSet<const document::CItem *> m_kept;
};

} // namespace menutree
