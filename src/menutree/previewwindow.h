#pragma once
// The preview in a window of its own, beside the main window: another view of the same document,
// as large as the user makes it. Escape or the close box close it; whoever shows it hears so.
#include <QWidget>

namespace document { class PackageDocument; }

namespace menutree {

class PreviewView;

class PreviewWindow : public QWidget {
    Q_OBJECT
public:
    // A window of its own that stays above parent and goes with it.
    PreviewWindow(document::PackageDocument &document, QWidget *parent);

    PreviewView *view() const { return m_view; }

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void translate();

    PreviewView *m_view;
};

} // namespace menutree
