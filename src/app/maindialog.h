#pragma once
// The main window: a dialog with a menu bar, a toolbar, a banner and three tab pages
// (company, menus, general). It runs the start-up steps in a fixed order, gives every caption
// its text from the tool's text file and routes the menu and toolbar commands.
#include "document/packagecheck.h"
#include "document/packagedocument.h"
#include "filecommands.h"

#include <QDialog>
#include <QImage>
#include <QList>
#include <future>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QTabWidget;
class QToolBar;
class QVBoxLayout;

namespace menutree {
class MenuTreePage;
class PreviewWindow;
}
namespace pages {
class CompanyPage;
class GeneralPage;
}

namespace app {

class MainDialog : public QDialog {
    Q_OBJECT
public:
    enum Page { CompanyPage, MenuTreePage, GeneralPage };

    // The banner and the window's icon. Drawing them, and reading the system's fonts for the
    // first text the window measures, take as long as reading a large package: they are drawn on
    // a thread of their own, which the program starts before it makes the window.
    struct Artwork {
        QImage banner;
        QList<QImage> icon;
    };
    static std::future<Artwork> drawArtwork();

    // Draws its artwork itself when none is being drawn for it.
    explicit MainDialog(QWidget *parent = nullptr, std::future<Artwork> artwork = {});
    ~MainDialog() override;

    // The start-up sequence; called once, before the window is shown. A reading of the last
    // package started earlier is taken by the document when it reads that package.
    void initialize(std::unique_ptr<document::PackageReading> reading = nullptr);

    // Shows one page and hides the other two.
    void selectPage(int index);
    QWidget *page(int index) const;

    // The open package; the pages are views of it.
    document::PackageDocument &document() { return m_document; }
    bool isModified() const { return m_document.isModified(); }

    // The pages and the file commands; valid once initialize() has run.
    FileCommands &commands() const { return *m_commands; }

    // The preview in a window of its own (View menu, F9); made when first shown.
    void showPreviewWindow(bool shown);
    menutree::PreviewWindow *previewWindow() const { return m_previewWindow; }
    QAction *previewAction() const { return m_previewAction; }

    // What a later instance's request does: minimise when this window is the active one,
    // otherwise show it normal and bring it to the front.
    void comeForward();

public slots:
    void showHelp();
    void showAbout();

    // Ends the window, keeping its size and position for the next start.
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private slots:
    void newPackage();
    void openPackage();
    void savePackage();
    void savePackageAs();
    void exitTool();

private:
    void createMenuBar();
    void createToolBar();
    void createPages();
    void insertTabs();
    void updatePasteAction();
    void createFindShortcut();
    void translateMenuBar();
    void translateUndoActions();
    void restoreWindowGeometry();
    void saveWindowGeometry();
    void showArtwork();
    void showPackageFinding(document::Finding::Subject subject);

    QVBoxLayout *m_layout;
    QMenuBar *m_menuBar;
    QToolBar *m_toolBar = nullptr;
    QTabWidget *m_tabs;
    QLabel *m_banner;
    std::future<Artwork> m_artwork;

    QMenu *m_fileMenu = nullptr;
    QMenu *m_editMenu = nullptr;
    QMenu *m_helpMenu = nullptr;
    QAction *m_newAction = nullptr;
    QAction *m_openAction = nullptr;
    QAction *m_saveAction = nullptr;
    QAction *m_saveAsAction = nullptr;
    QAction *m_exitAction = nullptr;
    QAction *m_undoAction = nullptr;
    QAction *m_redoAction = nullptr;
    // The tree's commands: they act while the MENUS page is shown, and leave their keys to the
    // other pages' controls otherwise.
    QList<QAction *> m_treeActions;
    QMenu *m_viewMenu = nullptr;
    QAction *m_previewAction = nullptr;
    menutree::PreviewWindow *m_previewWindow = nullptr;
    QAction *m_helpAction = nullptr;
    QAction *m_aboutAction = nullptr;

    document::PackageDocument m_document;
    pages::CompanyPage *m_companyPage = nullptr;
    menutree::MenuTreePage *m_menuTreePage = nullptr;
    pages::GeneralPage *m_generalPage = nullptr;
    std::unique_ptr<FileCommands> m_commands;
    bool m_initialized = false;
};

// The one main window, set during its start-up; the app layer reaches it here.
extern MainDialog *mainDialog;

} // namespace app
