#include "dialogparts.h"

#include "config/fields.h"
#include "config/texts.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace dialogs {

QDialogButtonBox *okCancelButtons(QDialog *dialog)
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QPushButton *ok = buttons->button(QDialogButtonBox::Ok);
    ok->setText(config::lookupText(QStringLiteral("TEXT"), QStringLiteral("OK")));
    ok->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setText(config::lookupText(QStringLiteral("TEXT"), QStringLiteral("CANCEL")));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

void showLengthLimit(QWidget *dialog, qsizetype limit)
{
    platform::modals().message(dialog, {QStringLiteral("Please enter no more than %1 characters.").arg(limit),
                                        config::lookupText(QStringLiteral("MESSAGES"), QStringLiteral("ERROR")),
                                        platform::MessageStyle::OkExclamation});
}

bool textsCanBeKept(QWidget *dialog, const QList<QWidget *> &edits)
{
    for (QWidget *edit : edits) {
        const auto *line = qobject_cast<QLineEdit *>(edit);
        const auto *lines = qobject_cast<QPlainTextEdit *>(edit);
        const QString text = line ? line->text() : lines ? lines->toPlainText() : QString();
        if (config::fieldFor(text))
            continue;
        config::showTextMessage(dialog, QStringLiteral("MESSAGES"), QStringLiteral("QUOTEDTEXT"),
                                QStringLiteral("MESSAGES"), QStringLiteral("ERROR"), platform::MessageStyle::OkExclamation);
        edit->setFocus();
        return false;
    }
    return true;
}

} // namespace dialogs
