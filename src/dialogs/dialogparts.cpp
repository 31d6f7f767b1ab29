#include "dialogparts.h"

#include "records/fields.h"
#include "texts/texts.h"
#include "ui/textmessage.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>

namespace dialogs {

QDialogButtonBox *okCancelButtons(QDialog *dialog)
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QPushButton *ok = buttons->button(QDialogButtonBox::Ok);
    ok->setText(texts::lookupText(QStringLiteral("TEXT"), QStringLiteral("OK")));
    ok->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setText(texts::lookupText(QStringLiteral("TEXT"), QStringLiteral("CANCEL")));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

void showLengthLimit(QWidget *dialog, qsizetype limit)
{
    ui::modals().message(dialog, {QStringLiteral("Please enter no more than %1 characters.").arg(limit),
                                        texts::lookupText(QStringLiteral("MESSAGES"), QStringLiteral("ERROR")),
                                        ui::MessageStyle::OkExclamation});
}

bool textsCanBeKept(QWidget *dialog, const QList<StoredText> &texts)
{
    for (const StoredText &stored : texts) {
        auto *line = qobject_cast<QLineEdit *>(stored.edit);
        auto *lines = qobject_cast<QPlainTextEdit *>(stored.edit);
        const QString text = line ? line->text() : lines ? lines->toPlainText() : QString();
        if (!records::isStorable(text)) {
            ui::showTextMessage(dialog, QStringLiteral("MESSAGES"), QStringLiteral("QUOTEDTEXT"),
                                    QStringLiteral("MESSAGES"), QStringLiteral("ERROR"), ui::MessageStyle::OkExclamation);
            stored.edit->setFocus();
            return false;
        }
        if (stored.room >= 0)
            continue;
        qsizetype limit = qMax<qsizetype>(0, text.size() + stored.room);
        showLengthLimit(dialog, limit);
        // What does not fit is selected with a surrogate pair whole, so deleting it never
        // leaves half a character behind.
        if (limit > 0 && text.at(limit - 1).isHighSurrogate())
            --limit;
        stored.edit->setFocus();
        if (line) {
            line->setSelection(limit, text.size() - limit);
        } else if (lines) {
            QTextCursor excess = lines->textCursor();
            excess.setPosition(int(limit));
            excess.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
            lines->setTextCursor(excess);
        }
        return false;
    }
    return true;
}

OneLineText::OneLineText(QObject *parent, qsizetype maxLength) : QValidator(parent), m_maxLength(maxLength) {}

QValidator::State OneLineText::validate(QString &input, int &) const
{
    // One blank for each character of a break, so the cursor keeps its place.
    input.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return m_maxLength < 0 || input.size() <= m_maxLength ? Acceptable : Invalid;
}

void keepOnOneLine(QPlainTextEdit *edit)
{
    const auto showAsStored = [document = edit->document()] {
        // Each blank joins the edit that brought its break, so one undo takes both back.
        const auto putBlank = [](QTextCursor cursor) {
            cursor.joinPreviousEditBlock();
            cursor.insertText(QStringLiteral(" "));
            cursor.endEditBlock();
        };
        // A break ends a block, or is a line separator (Shift+Return) inside one.
        while (document->blockCount() > 1) {
            QTextCursor joint(document->findBlockByNumber(1));
            joint.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor);
            putBlank(joint);
        }
        const QString separator(QChar::LineSeparator);
        for (QTextCursor found = document->find(separator); !found.isNull(); found = document->find(separator, found))
            putBlank(found);
    };
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, showAsStored);
    showAsStored();
    edit->document()->clearUndoRedoStacks();   // undo stops at the text the dialog opened with
}

} // namespace dialogs
