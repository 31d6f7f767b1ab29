#include "modal.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <utility>

namespace ui {
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

std::optional<QString> Modals::chooseFolderOrFile(QWidget *parent, const PathRequest &request)
{
    // Not a file dialog, where choosing a folder opens it: the tree holds folders and their
    // files, and OK takes whatever the edit names, folder or file.
    QDialog dialog(parent);
    dialog.setWindowTitle(request.caption);
    QFileSystemModel model;
    model.setFilter(QDir::AllEntries | QDir::NoDotAndDotDot);
    model.setRootPath(QDir::rootPath());
    auto *tree = new QTreeView(&dialog);
    tree->setModel(&model);
    tree->setHeaderHidden(true);
    for (int column = 1; column < model.columnCount(); ++column)
        tree->hideColumn(column);
    tree->expand(model.index(QDir::rootPath()));
    auto *path = new QLineEdit(&dialog);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

    // A typed path counts once it names something that exists; a relative one would depend on
    // the working folder, which the user does not see.
    const auto chosen = [path] { return QFileInfo(QDir::fromNativeSeparators(path->text())); };
    QPushButton *ok = buttons->button(QDialogButtonBox::Ok);
    ok->setEnabled(false);
    QObject::connect(path, &QLineEdit::textChanged, ok, [&] { ok->setEnabled(chosen().isAbsolute() && chosen().exists()); });
    QObject::connect(tree->selectionModel(), &QItemSelectionModel::currentChanged, path,
                     [&](const QModelIndex &current) { path->setText(QDir::toNativeSeparators(model.filePath(current))); });
    // The edit starts with the focus: in the tree, the focus would pick its first folder.
    path->setText(request.initialPath);
    path->setFocus();

    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(tree);
    layout->addWidget(path);
    layout->addWidget(buttons);
    dialog.resize(360, 420);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return QDir::toNativeSeparators(QDir::cleanPath(chosen().absoluteFilePath()));
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

} // namespace ui
