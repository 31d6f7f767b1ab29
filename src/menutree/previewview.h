#pragma once
// The preview as a view of the package document: what the front-end will show, painted in the
// aspect of the package's screen resolution and centred, repainted after every change. It shows
// the current node; the mouse over an entry shows that entry, and a click or the arrow keys make
// a node current, in the tree as everywhere else.
#include "preview/preview.h"

#include <QWidget>

namespace document {
class CItem;
class PackageDocument;
}

namespace menutree {

class PreviewView : public QWidget {
    Q_OBJECT
public:
    explicit PreviewView(document::PackageDocument &document, QWidget *parent = nullptr);

    const preview::Preview &preview() const { return m_preview; }
    // Where the preview is painted: as large as the widget allows in its aspect, centred.
    QRect previewRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    // What lies under a point of the widget: an entry, a main menu's tab, or none.
    virtual const document::CItem *nodeAt(const QPoint &position) const;

    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void translate();
    // Shows the document's current node, forgetting what the mouse pointed at: after an edit
    // that node may be gone.
    void showCurrent();
    void point(const document::CItem *node);
    // Left and Right: the main menu before or after the current node's; Up and Down: the entry
    // before or after it in its main menu, sub-entries included, the main menu itself first.
    void stepMainMenu(int step);
    void stepEntry(int step);

    document::PackageDocument &m_document;
    preview::Preview m_preview;
};

} // namespace menutree
