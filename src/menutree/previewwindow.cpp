#include "previewwindow.h"

#include "previewview.h"

#include "texts/texts.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace menutree {

PreviewWindow::PreviewWindow(document::PackageDocument &document, QWidget *parent)
    : QWidget(parent, Qt::Window), m_view(new PreviewView(document, this))
{
    setObjectName(QStringLiteral("previewWindow"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setFocusProxy(m_view);
    translate();
}

void PreviewWindow::translate()
{
    const QString title = texts::lookupText(QStringLiteral("VIEW"), QStringLiteral("TITLE"));
    setWindowTitle(title);
    setAccessibleName(title);
}

void PreviewWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        translate();
    QWidget::changeEvent(event);
}

void PreviewWindow::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    emit closed();
}

void PreviewWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace menutree
