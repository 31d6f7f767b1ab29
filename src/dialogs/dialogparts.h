#pragma once
// What the property dialogs share: their buttons, and the check of the texts typed into them.
#include <QList>
#include <utility>

class QDialog;
class QDialogButtonBox;
class QWidget;

namespace dialogs {

// OK and Cancel with their captions from the tool's texts; OK is the default button, so Return
// confirms, and the buttons accept or reject the dialog.
QDialogButtonBox *okCancelButtons(QDialog *dialog);

// "Please enter no more than %1 characters.", with the tool's caption for errors.
void showLengthLimit(QWidget *dialog, qsizetype limit);

// The front-end keeps these texts as fields of its lines, which cannot hold every use of double
// quotes. When an edit's text would read back otherwise, the user is told (QUOTEDTEXT), the edit
// gets the focus and false is returned: the dialog stays open.
bool textsCanBeKept(QWidget *dialog, const QList<QWidget *> &edits);

} // namespace dialogs
