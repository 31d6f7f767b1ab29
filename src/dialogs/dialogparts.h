#pragma once
// What the property dialogs share: their buttons, and the checks of the texts typed into them.
#include <QList>
#include <QValidator>

class QDialog;
class QDialogButtonBox;
class QPlainTextEdit;
class QWidget;

namespace dialogs {

// OK and Cancel with their captions from the tool's texts; OK is the default button, so Return
// confirms, and the buttons accept or reject the dialog.
QDialogButtonBox *okCancelButtons(QDialog *dialog);

// "Please enter no more than %1 characters.", with the tool's caption for errors.
void showLengthLimit(QWidget *dialog, qsizetype limit);

// An edit of a property dialog, and the code units the line its text is stored in leaves to
// spare (negative: the line would come back cut; none for a text that always fits).
struct StoredText {
    QWidget *edit;
    qsizetype room = 0;
};

// The front-end keeps these texts as fields of its lines, which cannot hold every use of double
// quotes nor more than a line's worth of text. When an edit's text would read back otherwise,
// the user is told (QUOTEDTEXT, or the length it may have), the edit gets the focus with what
// does not fit selected, and false is returned: the dialog stays open.
bool textsCanBeKept(QWidget *dialog, const QList<StoredText> &texts);

// The front-end's files hold a text on one line, where a line break is stored as a blank: the
// edits show it so at once, whether typed or pasted, rather than change the text unseen.
// For a line edit (Return confirms the dialog, so a break only comes pasted); with a maximum
// length, typing beyond it is refused, while a longer text put in by the program stays as it is.
class OneLineText : public QValidator {
public:
    explicit OneLineText(QObject *parent, qsizetype maxLength = -1);
    State validate(QString &input, int &position) const override;

private:
    qsizetype m_maxLength;
};
// For the description, where Return inserts a break as in any text box.
void keepOnOneLine(QPlainTextEdit *edit);

} // namespace dialogs
