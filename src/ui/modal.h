#pragma once
// The one seam through which the tool reaches every modal thing: message boxes, file dialogs,
// the colour and folder choosers, property dialogs and popup menus. The default answers with
// Qt's own dialogs; a test installs its own Modals and says what "the user" pressed.
#include <QColor>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <optional>

class QAction;
class QDialog;
class QMenu;
class QWidget;

namespace ui {

enum class MessageStyle {
    Ok,                  // OK only, no icon
    YesNoCancel,         // the "save changes" question
    OkCancel,            // OK and Cancel, no icon
    OkInformation,       // OK with the information icon
    OkCancelQuestion,    // OK and Cancel with the question icon
    OkCancelWarning,     // OK and Cancel with the warning icon
    OkExclamation,       // OK with the exclamation (warning) icon
};

enum class MessageButton { Ok, Cancel, Yes, No };

struct MessageRequest {
    QString text;
    QString caption;
    MessageStyle style = MessageStyle::Ok;
};

struct FileDialogRequest {
    QString caption;
    QString directory;       // initial directory
    QString fileName;        // initial file name, e.g. "*.pkg"
    QStringList filters;     // Qt filter strings, e.g. "Customized Files (*.pkg)"
};

struct PathRequest {
    QString caption;
    QString initialPath;     // in the edit at the start
};

class Modals {
public:
    virtual ~Modals() = default;
    virtual MessageButton message(QWidget *parent, const MessageRequest &request);
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<QString> openFile(QWidget *parent, const FileDialogRequest &request);
    virtual std::optional<QString> saveFile(QWidget *parent, const FileDialogRequest &request);
    virtual std::optional<QColor> chooseColor(QWidget *parent, const QColor &initial);
    // A folder chooser that shows files as well and takes either, with an edit box in which a
    // path can be typed: the chosen path, or nothing when the user cancelled.
    virtual std::optional<QString> chooseFolderOrFile(QWidget *parent, const PathRequest &request);
    // Runs a dialog modally; returns its result (QDialog::Accepted or Rejected).
    virtual int runDialog(QDialog &dialog);
    // Shows a popup menu at a screen position; the chosen action, or null when dismissed.
    virtual QAction *popupMenu(QMenu &menu, const QPoint &globalPosition);
};

// The Modals in use; the default one answers with Qt's dialogs.
Modals &modals();
// Installs another one (null restores the default) and returns the one it replaces. The caller
// keeps ownership.
Modals *setModals(Modals *replacement);

} // namespace ui
