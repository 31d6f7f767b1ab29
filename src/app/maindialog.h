#pragma once
// The main window: a fixed-size dialog with a menu bar, a toolbar, a banner and three tab pages
// (company, menus, general). It runs the start-up steps in a fixed order, gives every caption
// its text from the tool's text file and routes the menu and toolbar commands.
#include "packages/filecommands.h"
#include "packages/packagestate.h"

#include <QDialog>
#include <QIcon>
#include <memory>

class QAction;
class QMenu;
class QMenuBar;
class QTabWidget;
class QToolBar;
class QVBoxLayout;

namespace app {

class TabPages;

class MainDialog : public QDialog {
    Q_OBJECT
public:
    enum Page { CompanyPage, MenuTreePage, GeneralPage };

    explicit MainDialog(QWidget *parent = nullptr);
    ~MainDialog() override;

    // The start-up sequence; called once, before the window is shown.
    void initialize();

    // Shows one page and hides the other two.
    void selectPage(int index);
    QWidget *page(int index) const;

    // The open package, its unsaved-changes flag and the title that shows both.
    packages::PackageState &package() { return m_package; }
    void markModified();
    void setModified(bool modified);
    bool isModified() const { return m_package.isModified; }

    // The pages and the file commands; valid once initialize() has run.
    TabPages &pages() const { return *m_pages; }
    packages::FileCommands &commands() const { return *m_commands; }

    // Builds the open package behind a progress dialog and reports what could not be written.
    void runBuild();

    // What a later instance's request does: minimise when this window is the active one,
    // otherwise show it normal and bring it to the front.
    void comeForward();

public slots:
    void showHelp();
    void showAbout();

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
    void translateMenuBar();

    QVBoxLayout *m_layout;
    QMenuBar *m_menuBar;
    QToolBar *m_toolBar = nullptr;
    QTabWidget *m_tabs;
    QIcon m_icon;

    QMenu *m_fileMenu = nullptr;
    QMenu *m_helpMenu = nullptr;
    QAction *m_newAction = nullptr;
    QAction *m_openAction = nullptr;
    QAction *m_saveAction = nullptr;
    QAction *m_saveAsAction = nullptr;
    QAction *m_exitAction = nullptr;
    QAction *m_helpAction = nullptr;
    QAction *m_aboutAction = nullptr;

    packages::PackageState m_package;
    std::unique_ptr<TabPages> m_pages;
    std::unique_ptr<packages::FileCommands> m_commands;
    bool m_initialized = false;
};

// The one main window, set during its start-up; the app layer reaches it here.
extern MainDialog *mainDialog;

} // namespace app
