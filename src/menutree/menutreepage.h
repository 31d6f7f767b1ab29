#pragma once
// The MENUS tab: a view of the package document's menus, a tree under the root "Help Center".
#include <QWidget>

class QTreeView;

namespace document {
class PackageDocument;
}

namespace menutree {

class MenuTreePage : public QWidget {
    Q_OBJECT
public:
    explicit MenuTreePage(document::PackageDocument &document, QWidget *parent = nullptr);

    QTreeView *tree() const { return m_tree; }

private:
    void showReadMenus();

    document::PackageDocument &m_document;
    QTreeView *m_tree;
};

} // namespace menutree
