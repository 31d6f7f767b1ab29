#pragma once
// The main window: a fixed-size dialog with a menu bar, a toolbar, a banner and three tab pages
// (company, menus, general). It runs the start-up steps in a fixed order, gives every caption
// its text from the tool's text file and routes the menu and toolbar commands.
#include <QDialog>
#include <QIcon>

class QAction;
class QMenu;
class QMenuBar;
class QTabWidget;
class QToolBar;
class QVBoxLayout;

namespace app {

// The window title: titleBase + "  -  [" + packageName + "]", with "*]" while modified.
QString mainWindowTitle(const QString &titleBase, const QString &packageName, bool modified);

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

    void markModified();
    void setModified(bool modified);
    bool isModified() const { return m_modified; }
    void updateTitle();

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

    // Package-store steps of start-up (they come with the package store).
    void mergeMissingTexts();
    bool ensureDefaultPackage();
    void openLastPackage();

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

    QWidget *m_companyPage = nullptr;
    QWidget *m_menuTreePage = nullptr;
    QWidget *m_generalPage = nullptr;

    QString m_titleBase;
    QString m_packageName;
    bool m_modified = false;
    bool m_initialized = false;
};

// The one main window, set during its start-up; the app layer reaches it here.
extern MainDialog *mainDialog;

} // namespace app
