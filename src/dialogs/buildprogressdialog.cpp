#include "buildprogressdialog.h"

#include "texts/texts.h"

#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace dialogs {

BuildProgressDialog::BuildProgressDialog(QWidget *parent, std::function<void()> build)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_build(std::move(build))
{
    setModal(true);
    setFixedSize(279, 54);   // 186 by 33 dialog units
    auto *text = new QLabel(texts::lookupText(QStringLiteral("MESSAGES"), QStringLiteral("BUILDING")), this);
    text->setObjectName(QStringLiteral("buildingText"));
    text->setAlignment(Qt::AlignCenter);
    text->setFrameShape(QFrame::Box);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(text);

    m_timer.setInterval(100);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &BuildProgressDialog::runBuildOnce);
}

void BuildProgressDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_started)
        m_timer.start();
}

void BuildProgressDialog::keyPressEvent(QKeyEvent *event)
{
    // A build cannot be cancelled half-way: Escape does not close this dialog.
    if (event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}

void BuildProgressDialog::runBuildOnce()
{
    if (m_started)
        return;
    m_started = true;
    m_build();
    accept();
}

} // namespace dialogs
