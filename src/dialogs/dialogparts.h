#pragma once
class QDialog;
class QDialogButtonBox;

namespace dialogs {

// OK and Cancel with their captions from the tool's texts; OK is the default button, so Return
// confirms, and the buttons accept or reject the dialog.
QDialogButtonBox *okCancelButtons(QDialog *dialog);

} // namespace dialogs
