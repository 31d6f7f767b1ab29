#pragma once
// A small captionless dialog that shows "Building..." while the build runs. The build starts on
// the dialog's first timer tick, so the dialog is on screen first; it runs exactly once, and the
// dialog closes itself when it is done.
#include <QDialog>
#include <QTimer>
#include <functional>

namespace dialogs {

class BuildProgressDialog : public QDialog {
    Q_OBJECT
public:
    BuildProgressDialog(QWidget *parent, std::function<void()> build);

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void runBuildOnce();

    std::function<void()> m_build;
    QTimer m_timer;
    bool m_started = false;
};

} // namespace dialogs
