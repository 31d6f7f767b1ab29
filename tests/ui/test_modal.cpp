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

    // Each style as the default seam shows it: its icon, its buttons, the one Return presses.
    void messageStylesShowTheirIconAndButtons_data()
    {
        QTest::addColumn<MessageStyle>("style");
        QTest::addColumn<QMessageBox::Icon>("icon");
        QTest::addColumn<QMessageBox::StandardButtons>("buttons");
        QTest::addColumn<QMessageBox::StandardButton>("defaultButton");
        using B = QMessageBox;
        QTest::newRow("ok") << MessageStyle::Ok << B::NoIcon << B::StandardButtons(B::Ok) << B::Ok;
        QTest::newRow("save changes") << MessageStyle::YesNoCancel << B::NoIcon << (B::Yes | B::No | B::Cancel) << B::Yes;
        QTest::newRow("ok cancel") << MessageStyle::OkCancel << B::NoIcon << (B::Ok | B::Cancel) << B::Ok;
        QTest::newRow("information") << MessageStyle::OkInformation << B::Information << B::StandardButtons(B::Ok) << B::Ok;
        QTest::newRow("question") << MessageStyle::OkCancelQuestion << B::Question << (B::Ok | B::Cancel) << B::Ok;
        QTest::newRow("warning") << MessageStyle::OkCancelWarning << B::Warning << (B::Ok | B::Cancel) << B::Ok;
        QTest::newRow("exclamation") << MessageStyle::OkExclamation << B::Warning << B::StandardButtons(B::Ok) << B::Ok;
    }
    void messageStylesShowTheirIconAndButtons()
    {
        QFETCH(MessageStyle, style);
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton pressed = QMessageBox::NoButton;
        QTimer::singleShot(0, this, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                icon = box->icon();
                buttons = box->standardButtons();
                if (QPushButton *byDefault = box->defaultButton()) {
                    pressed = box->standardButton(byDefault);
                    byDefault->click();   // Return
                } else {
                    box->reject();
                }
            }
        });
        const MessageButton answer = Modals().message(nullptr, {"Text", "Caption", style});
        QTEST(icon, "icon");
        QTEST(buttons, "buttons");
        QTEST(pressed, "defaultButton");
        QCOMPARE(answer, pressed == QMessageBox::Yes ? MessageButton::Yes : MessageButton::Ok);
    }
};
KAVO_TEST(ModalTest)
#include "test_modal.moc"
