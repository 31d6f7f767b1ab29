#include "modal.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <utility>

namespace platform {
namespace {

Modals *&installed()
{
    static Modals *current = nullptr;
    return current;
}

QMessageBox::StandardButtons buttonsFor(MessageStyle style)
{
    switch (style) {
    case MessageStyle::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageStyle::OkCancel:
    case MessageStyle::OkCancelQuestion:
    case MessageStyle::OkCancelWarning:
        return QMessageBox::Ok | QMessageBox::Cancel;
    default:
        return QMessageBox::Ok;
    }
}

QMessageBox::Icon iconFor(MessageStyle style)
{
    switch (style) {
    case MessageStyle::OkInformation: return QMessageBox::Information;
    case MessageStyle::OkCancelQuestion: return QMessageBox::Question;
    case MessageStyle::OkCancelWarning:
    case MessageStyle::OkExclamation: return QMessageBox::Warning;
    default: return QMessageBox::NoIcon;
    }
}

} // namespace

MessageButton Modals::message(QWidget *parent, const MessageRequest &request)
{
    QMessageBox box(iconFor(request.style), request.caption, request.text, buttonsFor(request.style), parent);
    // Texts name packages and paths the user typed, and the tool's own texts are plain: never
    // let the box guess markup in "<b>Sales</b>.pkg already exists."
    box.setTextFormat(Qt::PlainText);
    // The first button is the default, so Return confirms a question.
    box.setDefaultButton(request.style == MessageStyle::YesNoCancel ? QMessageBox::Yes : QMessageBox::Ok);
    switch (box.exec()) {
    case QMessageBox::Yes: return MessageButton::Yes;
    case QMessageBox::No: return MessageButton::No;
    case QMessageBox::Ok: return MessageButton::Ok;
    default: return MessageButton::Cancel;   // Escape or the close box
    }
}

std::optional<QString> Modals::openFile(QWidget *parent, const FileDialogRequest &request)
{
    QFileDialog dialog(parent, request.caption, request.directory);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(request.filters);
    if (!request.fileName.isEmpty() && !request.fileName.contains(QLatin1Char('*')))
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> Modals::saveFile(QWidget *parent, const FileDialogRequest &request)
{
    QFileDialog dialog(parent, request.caption, request.directory);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(request.filters);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);   // the caller asks its own question
    if (!request.fileName.isEmpty() && !request.fileName.contains(QLatin1Char('*')))
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QColor> Modals::chooseColor(QWidget *parent, const QColor &initial)
{
    const QColor color = QColorDialog::getColor(initial, parent);
    if (!color.isValid())
        return std::nullopt;
    return color;
}

std::optional<QString> Modals::chooseFolder(QWidget *parent)
{
    // Files are shown as well as folders, and a path can be typed.
    QFileDialog dialog(parent);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

int Modals::runDialog(QDialog &dialog)
{
    return dialog.exec();
}

QAction *Modals::popupMenu(QMenu &menu, const QPoint &globalPosition)
{
    return menu.exec(globalPosition);
}

Modals &modals()
{
    static Modals standard;
    return installed() ? *installed() : standard;
}

Modals *setModals(Modals *replacement)
{
    return std::exchange(installed(), replacement);
}

} // namespace platform
