#include "packagetext.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <functional>
#include <vector>

// The difference is told in the user's terms: main menus and entries are found again in the other
// package by their values, so a node dragged elsewhere reads as one move, not as a removal and an
// addition, and a node dragged within its menu moves only itself, not every sibling it passed.

namespace packagetext {

namespace {

// The parent of a main menu; for the parent in the other package, a parent that is new; a node
// not found in the other package.
constexpr int NoParent = -1;
constexpr int NewParent = -2;
constexpr int Unmatched = -1;

// One main menu or entry of a package, flattened: the tree's nodes in pre-order.
struct Node {
    const MainMenuText *menu = nullptr;  // set for a main menu
    const EntryText *entry = nullptr;    // set for an entry or sub-entry
    int parent = NoParent;
    int position = 0;                    // among its siblings, from 0
    QList<int> children;
    int counterpart = Unmatched;         // the same node in the other package
};

using Tree = QList<Node>;

void addEntries(Tree &tree, int parent, const QList<EntryText> &entries)
{
    for (int i = 0; i < entries.size(); ++i) {
        const int index = int(tree.size());
        tree.append(Node{nullptr, &entries[i], parent, i, {}, Unmatched});
        tree[parent].children.append(index);
        addEntries(tree, index, entries[i].entries);
    }
}

Tree flatten(const PackageText &package, QList<int> &mainMenus)
{
    Tree tree;
    for (int i = 0; i < package.mainMenus.size(); ++i) {
        mainMenus.append(int(tree.size()));
        tree.append(Node{&package.mainMenus[i], nullptr, NoParent, i, {}, Unmatched});
        addEntries(tree, int(tree.size()) - 1, package.mainMenus[i].entries);
    }
    return tree;
}

QString title(const Node &node)
{
    return node.menu ? node.menu->title : node.entry->title;
}

QString path(const Tree &tree, int index)
{
    QStringList titles;
    for (; index != NoParent; index = tree[index].parent)
        titles.prepend(title(tree[index]));
    return titles.join(QStringLiteral(" > "));
}

QString quoted(QString value)
{
    value.replace(QLatin1String("\r\n"), QLatin1String("\\n")).replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return QLatin1Char('"') + value + QLatin1Char('"');
}

// "main menu", "entry" (in a main menu) or "sub-entry" (in a sub-menu), then the quoted path.
QString named(const Tree &tree, int index)
{
    const Node &node = tree[index];
    const char *kind = node.menu ? "main menu" : tree[node.parent].menu ? "entry" : "sub-entry";
    return QLatin1String(kind) + QLatin1Char(' ') + quoted(path(tree, index));
}

QString position(int fromZero)
{
    return QStringLiteral("position %1").arg(fromZero + 1);
}

// ---- Finding each node of `after` in `before`

// The values a pass compares. Main menus and entries never share a key.
using MatchKey = std::function<QString(const Node &)>;

const QChar Separator(0x1f);

QString identicalValues(const Node &node)
{
    if (node.menu) {
        const MainMenuText &m = *node.menu;
        return QStringList{QStringLiteral("M"), m.title, m.altKey, m.tabDescription, m.mainIcon,
                           m.hoverIcon, m.color, m.colorBar, m.tabIcon}.join(Separator);
    }
    const EntryText &e = *node.entry;
    return QStringList{QStringLiteral("E"), e.typeIcon, e.title, e.location, e.description}.join(Separator);
}

QString titleAndType(const Node &node)
{
    if (node.menu)
        return QStringLiteral("M") + Separator + node.menu->title;
    return QStringList{QStringLiteral("E"), node.entry->typeIcon, node.entry->title}.join(Separator);
}

struct Trees {
    Tree before;
    Tree after;
    QList<int> beforeMainMenus;
    QList<int> afterMainMenus;

    // The node of `before` that corresponds to the parent of after[index].
    int counterpartOfParent(int index) const
    {
        const int parent = after[index].parent;
        if (parent == NoParent)
            return NoParent;
        const int counterpart = after[parent].counterpart;
        return counterpart == Unmatched ? NewParent : counterpart;
    }

    void pair(int afterIndex, int beforeIndex)
    {
        after[afterIndex].counterpart = beforeIndex;
        before[beforeIndex].counterpart = afterIndex;
    }

    // Under parents already matched first: siblings that kept their order are the same nodes (the
    // longest common run, as a text comparison finds lines), so that of equal siblings the one
    // dragged in from elsewhere is not taken for the one that stayed. Then across the tree, in
    // pre-order so that a parent is found before its children and a child prefers the candidate
    // under its parent's counterpart; then the nearest position.
    void matchBy(const MatchKey &key)
    {
        matchSiblings(key, afterMainMenus, beforeMainMenus);
        QHash<QString, QList<int>> candidates;
        for (int b = 0; b < before.size(); ++b)
            if (before[b].counterpart == Unmatched)
                candidates[key(before[b])].append(b);
        for (int a = 0; a < after.size(); ++a) {
            if (after[a].counterpart != Unmatched)
                continue;
            const auto found = candidates.find(key(after[a]));
            if (found == candidates.end())
                continue;
            const int wantedParent = counterpartOfParent(a);
            int best = -1;
            auto rank = [&](int b) {
                return std::make_pair(before[b].parent == wantedParent ? 0 : 1,
                                      std::abs(before[b].position - after[a].position));
            };
            for (int b : std::as_const(found.value()))
                if (before[b].counterpart == Unmatched && (best == -1 || rank(b) < rank(best)))
                    best = b;
            if (best != -1)
                pair(a, best);
        }
    }

    void matchSiblings(const MatchKey &key, const QList<int> &afterChildren, const QList<int> &beforeChildren)
    {
        // The unmatched children, their keys as numbers.
        QHash<QString, int> keyNumbers;
        auto unmatched = [&](const Tree &tree, const QList<int> &children, QList<int> &nodes, QList<int> &keys) {
            for (int child : children) {
                if (tree[child].counterpart != Unmatched)
                    continue;
                const QString text = key(tree[child]);
                auto number = keyNumbers.constFind(text);
                if (number == keyNumbers.cend())
                    number = keyNumbers.insert(text, int(keyNumbers.size()));
                nodes.append(child);
                keys.append(*number);
            }
        };
        QList<int> as, aKeys, bs, bKeys;
        unmatched(after, afterChildren, as, aKeys);
        unmatched(before, beforeChildren, bs, bKeys);

        // The common start and end directly; a table of the longest common run for the middle.
        const int n = int(as.size()), m = int(bs.size());
        int first = 0, endA = n, endB = m;
        for (; first < n && first < m && aKeys[first] == bKeys[first]; ++first)
            pair(as[first], bs[first]);
        for (; endA > first && endB > first && aKeys[endA - 1] == bKeys[endB - 1]; --endA, --endB)
            pair(as[endA - 1], bs[endB - 1]);
        const int rows = endA - first, columns = endB - first;
        std::vector<int> table(size_t(rows + 1) * size_t(columns + 1), 0);
        auto longest = [&](int i, int j) -> int & { return table[size_t(i) * size_t(columns + 1) + size_t(j)]; };
        for (int i = rows - 1; i >= 0; --i)
            for (int j = columns - 1; j >= 0; --j)
                longest(i, j) = aKeys[first + i] == bKeys[first + j] ? longest(i + 1, j + 1) + 1
                                                                     : std::max(longest(i + 1, j), longest(i, j + 1));
        for (int i = 0, j = 0; i < rows && j < columns;) {
            if (aKeys[first + i] == bKeys[first + j])
                pair(as[first + i++], bs[first + j++]);
            else if (longest(i + 1, j) >= longest(i, j + 1))
                ++i;
            else
                ++j;
        }

        for (int a : afterChildren)
            if (after[a].counterpart != Unmatched)
                matchSiblings(key, after[a].children, before[after[a].counterpart].children);
    }

    // What is left at the same place under the same parent is the same node, edited.
    void matchByPlace()
    {
        for (int a = 0; a < after.size(); ++a) {
            if (after[a].counterpart != Unmatched)
                continue;
            const int parent = counterpartOfParent(a);
            if (parent == NewParent)
                continue;
            const QList<int> &siblings = parent == NoParent ? beforeMainMenus : before[parent].children;
            const int position = after[a].position;
            if (position < siblings.size() && before[siblings[position]].counterpart == Unmatched)
                pair(a, siblings[position]);
        }
    }
};

// The children whose order among the matched siblings changed: those left out of a longest
// run of children that kept their order, so that one dragged child is the only one moved.
QSet<int> reordered(const Trees &trees, const QList<int> &afterChildren, int beforeParent)
{
    QList<int> stayed;  // children still under the same parent, in the order of `after`
    for (int a : afterChildren) {
        const int b = trees.after[a].counterpart;
        if (b != Unmatched && trees.before[b].parent == beforeParent)
            stayed.append(a);
    }
    // The longest increasing run of positions in `before`, patience-style.
    const int n = int(stayed.size());
    QList<int> tails;  // index into `stayed` ending a run of each length
    std::vector<int> previous(stayed.size(), -1);
    auto beforePosition = [&](int i) { return trees.before[trees.after[stayed[i]].counterpart].position; };
    for (int i = 0; i < n; ++i) {
        const auto at = std::lower_bound(tails.begin(), tails.end(), i, [&](int t, int value) {
            return beforePosition(t) < beforePosition(value);
        });
        if (at != tails.begin())
            previous[i] = *(at - 1);
        if (at == tails.end())
            tails.append(i);
        else
            *at = i;
    }
    std::vector<bool> inRun(stayed.size(), false);
    for (int i = tails.isEmpty() ? -1 : tails.last(); i != -1; i = previous[i])
        inRun[i] = true;
    QSet<int> moved;
    for (int i = 0; i < n; ++i)
        if (!inRun[i])
            moved.insert(stayed[i]);
    return moved;
}

// ---- Telling the differences

QString resolutionName(int index)
{
    static const char *const names[] = {"800x600", "1024x768", "1280x1024"};
    return index >= 0 && index < 3 ? QLatin1String(names[index]) : QString::number(index);
}

QString backgroundName(int background)
{
    static const char *const names[] = {"default", "white", "black"};
    return background >= 0 && background < 3 ? QLatin1String(names[background]) : QString::number(background);
}

class Describer {
public:
    explicit Describer(Trees &trees) : trees(trees) {}

    QStringList lines;

    void describeLevel(const QList<int> &afterChildren, const QList<int> &beforeChildren, int beforeParent)
    {
        for (int b : beforeChildren)
            if (trees.before[b].counterpart == Unmatched)
                lines << named(trees.before, b) + QStringLiteral(" removed from ") + position(trees.before[b].position);
        const QSet<int> moved = beforeParent == NewParent ? QSet<int>() : reordered(trees, afterChildren, beforeParent);
        for (int a : afterChildren)
            describeNode(a, moved.contains(a));
    }

private:
    Trees &trees;

    void describeNode(int a, bool movedAmongSiblings)
    {
        const Node &node = trees.after[a];
        const int b = node.counterpart;
        if (b == Unmatched) {
            // What came with a new node goes with its addition; what was dragged into it is told apart.
            lines << named(trees.after, a) + QStringLiteral(" added at ") + position(node.position);
        } else {
            const Node &old = trees.before[b];
            const int beforeParent = trees.counterpartOfParent(a);
            if (old.parent != beforeParent)
                lines << named(trees.after, a) + QStringLiteral(" moved from ") + quoted(path(trees.before, old.parent))
                             + QLatin1Char(' ') + position(old.position) + QStringLiteral(" to ")
                             + quoted(path(trees.after, node.parent)) + QLatin1Char(' ') + position(node.position);
            else if (movedAmongSiblings)
                lines << named(trees.after, a) + QStringLiteral(" moved from ") + position(old.position)
                             + QStringLiteral(" to ") + position(node.position);
            describeValues(a, old);
        }
        if (b == Unmatched)
            describeLevel(node.children, {}, NewParent);
        else
            describeLevel(node.children, trees.before[b].children, b);
    }

    void describeValues(int a, const Node &old)
    {
        const Node &node = trees.after[a];
        auto compare = [&](const char *what, const QString &from, const QString &to) {
            if (from != to)
                lines << named(trees.after, a) + QStringLiteral(": ") + QLatin1String(what)
                             + QStringLiteral(" changed from ") + quoted(from) + QStringLiteral(" to ") + quoted(to);
        };
        if (node.menu) {
            const MainMenuText &from = *old.menu, &to = *node.menu;
            compare("title", from.title, to.title);
            compare("Alt key", from.altKey, to.altKey);
            compare("tab description", from.tabDescription, to.tabDescription);
            compare("icon", from.mainIcon, to.mainIcon);
            compare("hover icon", from.hoverIcon, to.hoverIcon);
            compare("colour", from.color, to.color);
            compare("colour bar", from.colorBar, to.colorBar);
            compare("tab icon", from.tabIcon, to.tabIcon);
        } else {
            const EntryText &from = *old.entry, &to = *node.entry;
            compare("type", from.typeIcon, to.typeIcon);
            compare("title", from.title, to.title);
            compare("location", from.location, to.location);
            compare("description", from.description, to.description);
        }
    }
};

} // namespace

QStringList describeDifferences(const PackageText &before, const PackageText &after)
{
    QStringList lines;
    auto changed = [&](const char *what, const QString &from, const QString &to) {
        if (from != to)
            lines << QLatin1String(what) + QStringLiteral(" changed from ") + from + QStringLiteral(" to ") + to;
    };
    changed("company name", quoted(before.companyName), quoted(after.companyName));
    const SettingsText &was = before.settings, &is = after.settings;
    changed("resolution", resolutionName(was.resolutionIndex), resolutionName(is.resolutionIndex));
    changed("system tray", QLatin1String(was.systemTray ? "on" : "off"), QLatin1String(is.systemTray ? "on" : "off"));
    changed("text colour", quoted(was.textColor), quoted(is.textColor));
    changed("background", backgroundName(was.background), backgroundName(is.background));

    Trees trees;
    trees.before = flatten(before, trees.beforeMainMenus);
    trees.after = flatten(after, trees.afterMainMenus);
    trees.matchBy(identicalValues);
    trees.matchBy(titleAndType);
    trees.matchByPlace();

    Describer describer(trees);
    describer.describeLevel(trees.afterMainMenus, trees.beforeMainMenus, NoParent);
    return lines + describer.lines;
}

} // namespace packagetext
