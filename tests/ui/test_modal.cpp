#include "testmain.h"
#include "ui/modal.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace ui;

class ModalTest : public QObject {
    Q_OBJECT
private slots:
    // The default seam's message box, driven for real: markup in a package name stays text.
    void messageTextIsShownAsPlainText()
    {
        Qt::TextFormat format = Qt::AutoText;
        QTimer::singleShot(0, this, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                if (const auto *label = box->findChild<QLabel *>("qt_msgbox_label"))
                    format = label->textFormat();
                box->button(QMessageBox::No)->click();   // answers even when the check fails
            }
        });
        const MessageRequest request{"<b>Sales</b>.pkg already exists.", "Save As", MessageStyle::YesNoCancel};
        QCOMPARE(Modals().message(nullptr, request), MessageButton::No);
        QCOMPARE(format, Qt::PlainText);
    }
};
KAVO_TEST(ModalTest)
#include "test_modal.moc"
