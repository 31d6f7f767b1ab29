#include "okcancelbuttons.h"

#include "config/texts.h"

#include <QDialog>
#include <QDialogButtonBox>
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

} // namespace dialogs
