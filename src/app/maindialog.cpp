#include "maindialog.h"

#include "help.h"

#include "menutree/menutreepage.h"
#include "menutree/previewview.h"
#include "menutree/previewwindow.h"
#include "pages/companypage.h"
#include "pages/generalpage.h"

#include "texts/texts.h"
#include "ui/textmessage.h"
#include "dialogs/aboutdialog.h"
#include "artwork/itemtypeimages.h"
#include "packages/packagestore.h"
#include "ui/modal.h"
#include "platform/registry.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QSplitter>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace app {

MainDialog *mainDialog = nullptr;

namespace {

// The window's size in dialog units, and their size in pixels.
// Where the window's size and position are kept between runs.
const QString windowSettingsKey = QStringLiteral("Software\\Harbel\\ZELTCustom");
const QString windowGeometryValue = QStringLiteral("WindowGeometry");
const QString previewSplitterValue = QStringLiteral("PreviewSplitter");

// The title bar, the taskbar and the window switcher show the window's own icon at most this
// large (larger ones come from the icon theme): drawing and sending the theme's 128 and 256
// pixel sizes with the window took as long as painting it.
constexpr int largestWindowIcon = 64;

constexpr int widthInDialogUnits = 457;
constexpr int heightInDialogUnits = 361;
constexpr double pixelsPerUnitAcross = 1.5;
constexpr double pixelsPerUnitDown = 1.625;

QString text(const char *key)
{
    return texts::lookupText(QStringLiteral("TEXT"), QLatin1String(key));
}

} // namespace

// What the dialog template holds: the menu bar, the banner and the tab control. The toolbar and
// the pages come in the start-up sequence.
std::future<MainDialog::Artwork> MainDialog::drawArtwork()
{
    return std::async(std::launch::async, [ratio = artwork::screenPixelRatio(), font = QGuiApplication::font()] {
        QFontMetrics(font).height();
        return Artwork{artwork::svgImage(QStringLiteral(":/images/banner.svg"), ratio),
                       artwork::applicationIconImages(largestWindowIcon)};
    });
}

MainDialog::MainDialog(QWidget *parent, std::future<Artwork> artwork)
    : QDialog(parent),
      m_layout(new QVBoxLayout(this)),
      m_menuBar(new QMenuBar(this)),
      m_tabs(new QTabWidget(this)),
      m_banner(new QLabel(this)),
      m_artwork(artwork.valid() ? std::move(artwork) : drawArtwork())
{
    // The window opens at its designed size and may grow (the tree and the pages grow with it),
    // but not shrink below what its pages need.
    const QSize designed(qRound(widthInDialogUnits * pixelsPerUnitAcross), qRound(heightInDialogUnits * pixelsPerUnitDown));
    resize(designed);
    setMinimumSize(designed * 3 / 4);
    setSizeGripEnabled(true);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);

    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    createMenuBar();

    m_banner->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_banner->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);   // wider than the window: cut at the right
    m_banner->setFixedHeight(50);
    m_layout->addWidget(m_banner);

    auto *tabArea = new QVBoxLayout;
    tabArea->setContentsMargins(10, 8, 10, 10);
    tabArea->addWidget(m_tabs);
    m_layout->addLayout(tabArea, 1);

    connect(&m_document, &document::PackageDocument::titleChanged, this, &QWidget::setWindowTitle);
}

MainDialog::~MainDialog()
{
    if (mainDialog == this)
        mainDialog = nullptr;
}

void MainDialog::initialize(std::unique_ptr<document::PackageReading> reading)
{
    Q_ASSERT(!m_initialized);
    m_initialized = true;

    packages::mergeMissingTexts();
    if (!packages::ensureDefaultPackage())
        ui::showTextMessage(this, QStringLiteral("MESSAGES"), QStringLiteral("NOAKVO"), QStringLiteral("TEXT"),
                                QStringLiteral("WARNING"), ui::MessageStyle::Ok);
    createToolBar();
    mainDialog = this;
    // The pages are views of the document: made while the last package is still being read on
    // other threads, they show it once it is.
    createPages();
    insertTabs();
    createFindShortcut();
    packages::openLastPackage(m_document.state());

    const QString title = text("TITLE");
    if (!title.isEmpty())
        m_document.state().titleBase = title;
    m_document.load(std::move(reading));   // unmodified, with the title set
    showArtwork();

    selectPage(CompanyPage);
    translateMenuBar();
    restoreWindowGeometry();
}

void MainDialog::showArtwork()
{
    const Artwork artwork = m_artwork.get();
    m_banner->setPixmap(QPixmap::fromImage(artwork.banner));
    // This desktop offers no system menu to extend: the About command lives in the Help menu.
    setWindowIcon(artwork::applicationIcon(artwork.icon));
}

// The window opens where and as large as the user left it, the line between the tree and the
// preview where the user left it.
void MainDialog::restoreWindowGeometry()
{
    const auto stored = [](const QString &value) {
        return QByteArray::fromBase64(
            platform::readRegistryString(platform::RegistryScope::User, windowSettingsKey, value).value_or(QString()).toLatin1());
    };
    if (const QByteArray geometry = stored(windowGeometryValue); !geometry.isEmpty())
        restoreGeometry(geometry);
    if (const QByteArray splitter = stored(previewSplitterValue); !splitter.isEmpty())
        m_menuTreePage->splitter()->restoreState(splitter);
}

void MainDialog::saveWindowGeometry()
{
    const auto store = [](const QString &value, const QByteArray &state) {
        platform::writeRegistryString(platform::RegistryScope::User, windowSettingsKey, value,
                                      QString::fromLatin1(state.toBase64()));
    };
    store(windowGeometryValue, saveGeometry());
    if (m_menuTreePage)
        store(previewSplitterValue, m_menuTreePage->splitter()->saveState());
}

void MainDialog::done(int result)
{
    saveWindowGeometry();
    if (m_previewWindow)
        m_previewWindow->close();
    QDialog::done(result);
}

void MainDialog::createMenuBar()
{
    m_menuBar->setNativeMenuBar(false);   // part of the window, as everywhere else
    m_layout->setMenuBar(m_menuBar);

    m_fileMenu = m_menuBar->addMenu(QString());
    m_newAction = m_fileMenu->addAction(QIcon(QStringLiteral(":/images/new.svg")), QString(), this, &MainDialog::newPackage);
    m_newAction->setShortcut(Qt::CTRL | Qt::Key_N);
    m_openAction = m_fileMenu->addAction(QIcon(QStringLiteral(":/images/open.svg")), QString(), this, &MainDialog::openPackage);
    m_openAction->setShortcut(Qt::CTRL | Qt::Key_O);
    m_fileMenu->addSeparator();
    m_saveAction = m_fileMenu->addAction(QIcon(QStringLiteral(":/images/save.svg")), QString(), this, &MainDialog::savePackage);
    m_saveAction->setShortcut(Qt::CTRL | Qt::Key_S);
    m_saveAsAction = m_fileMenu->addAction(QIcon(QStringLiteral(":/images/save-as.svg")), QString(), this, &MainDialog::savePackageAs);
    m_saveAsAction->setShortcut(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
    m_fileMenu->addSeparator();
    m_exitAction = m_fileMenu->addAction(QString(), this, &MainDialog::exitTool);

    // Undo and Redo name the step they take back or do again.
    QUndoStack &steps = m_document.undoStack();
    m_editMenu = m_menuBar->addMenu(QString());
    m_undoAction = m_editMenu->addAction(QString(), &steps, &QUndoStack::undo);
    m_undoAction->setShortcuts(QKeySequence::Undo);
    m_redoAction = m_editMenu->addAction(QString(), &steps, &QUndoStack::redo);
    m_redoAction->setShortcuts({Qt::CTRL | Qt::SHIFT | Qt::Key_Z, Qt::CTRL | Qt::Key_Y});
    connect(&steps, &QUndoStack::canUndoChanged, m_undoAction, &QAction::setEnabled);
    connect(&steps, &QUndoStack::canRedoChanged, m_redoAction, &QAction::setEnabled);
    connect(&steps, &QUndoStack::undoTextChanged, this, &MainDialog::translateUndoActions);
    connect(&steps, &QUndoStack::redoTextChanged, this, &MainDialog::translateUndoActions);
    m_undoAction->setEnabled(false);
    m_redoAction->setEnabled(false);
    m_editMenu->addSeparator();
    const auto treeAction = [this](const QList<QKeySequence> &keys, void (menutree::MenuTreePage::*command)()) {
        QAction *action = m_editMenu->addAction(QString(), this, [this, command] { (m_menuTreePage->*command)(); });
        action->setShortcuts(keys);
        action->setEnabled(false);
        m_treeActions << action;
    };
    treeAction(QKeySequence::keyBindings(QKeySequence::Cut), &menutree::MenuTreePage::cutCurrent);
    treeAction(QKeySequence::keyBindings(QKeySequence::Copy), &menutree::MenuTreePage::copyCurrent);
    treeAction(QKeySequence::keyBindings(QKeySequence::Paste), &menutree::MenuTreePage::pasteOnCurrent);
    treeAction({Qt::ALT | Qt::Key_Up}, &menutree::MenuTreePage::moveCurrentUp);
    treeAction({Qt::ALT | Qt::Key_Down}, &menutree::MenuTreePage::moveCurrentDown);
    m_editMenu->insertSeparator(m_treeActions.at(3));

    // The preview window's item is checked while the window is shown; F9 works from either window.
    m_viewMenu = m_menuBar->addMenu(QString());
    m_previewAction = m_viewMenu->addAction(QString());
    m_previewAction->setCheckable(true);
    m_previewAction->setShortcut(Qt::Key_F9);
    connect(m_previewAction, &QAction::toggled, this, &MainDialog::showPreviewWindow);

    m_helpMenu = m_menuBar->addMenu(QString());
    m_helpAction = m_helpMenu->addAction(QIcon(QStringLiteral(":/images/help.svg")), QString(), this, &MainDialog::showHelp);
    m_helpAction->setShortcut(Qt::Key_F1);
    m_helpMenu->addSeparator();
    m_aboutAction = m_helpMenu->addAction(QString(), this, &MainDialog::showAbout);
}

void MainDialog::showPreviewWindow(bool shown)
{
    m_previewAction->setChecked(shown);
    if (!shown) {
        if (m_previewWindow)
            m_previewWindow->close();
        return;
    }
    if (!m_previewWindow) {
        m_previewWindow = new menutree::PreviewWindow(m_document, this);
        m_previewWindow->addAction(m_previewAction);
        m_previewWindow->resize(m_previewWindow->view()->preview().sizeForWidth(640));
        connect(m_previewWindow, &menutree::PreviewWindow::closed, this, [this] { m_previewAction->setChecked(false); });
    }
    m_previewWindow->show();
    m_previewWindow->raise();
    m_previewWindow->activateWindow();
}

// The toolbar shares the menu's actions, so each button runs its menu command and shows the
// command's caption as its tooltip.
void MainDialog::createToolBar()
{
    m_toolBar = new QToolBar(this);
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->addAction(m_newAction);
    m_toolBar->addAction(m_openAction);
    m_toolBar->addSeparator();
    m_toolBar->addAction(m_saveAction);
    m_toolBar->addAction(m_saveAsAction);
    m_toolBar->addSeparator();
    m_toolBar->addAction(m_helpAction);
    m_layout->insertWidget(0, m_toolBar);
}

// The three pages, in tab order; each is a view of the open package.
void MainDialog::createPages()
{
    m_companyPage = new pages::CompanyPage(m_document, this);
    m_menuTreePage = new menutree::MenuTreePage(m_document, this);
    m_generalPage = new pages::GeneralPage(m_document, this);
    m_commands = std::make_unique<FileCommands>(m_document, this);
    connect(m_menuTreePage, &menutree::MenuTreePage::packageFindingChosen, this, &MainDialog::showPackageFinding);
}

// A problem of the company name or of a setting, chosen in the MENUS page's list: the page that
// holds the value is shown. Findings about files and folders have no page.
void MainDialog::showPackageFinding(document::Finding::Subject subject)
{
    using Subject = document::Finding::Subject;
    if (subject == Subject::CompanyName)
        selectPage(CompanyPage);
    else if (subject == Subject::TextColor)
        selectPage(GeneralPage);
}

void MainDialog::insertTabs()
{
    m_tabs->addTab(m_companyPage, text("COMPANY"));
    m_tabs->addTab(m_menuTreePage, text("MENUS"));
    m_tabs->addTab(m_generalPage, text("PERSONALIZE"));
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        for (QAction *action : std::as_const(m_treeActions))
            action->setEnabled(index == MenuTreePage);
        updatePasteAction();
    });
    connect(m_menuTreePage, &menutree::MenuTreePage::pasteAvailabilityChanged, this, &MainDialog::updatePasteAction);
}

// Paste is offered only for what it would take: a node text that fits the current node.
void MainDialog::updatePasteAction()
{
    m_treeActions.at(2)->setEnabled(m_tabs->currentIndex() == MenuTreePage && m_menuTreePage->canPasteOnCurrent());
}

// Ctrl+F finds in the menus from any page: the MENUS page comes forward with the cursor in its filter.
void MainDialog::createFindShortcut()
{
    auto *find = new QAction(this);
    find->setShortcut(Qt::CTRL | Qt::Key_F);
    connect(find, &QAction::triggered, this, [this] {
        selectPage(MenuTreePage);
        m_menuTreePage->focusFilter();
    });
    addAction(find);
}

void MainDialog::translateMenuBar()
{
    const std::pair<QAction *, const char *> captions[] = {
        {m_fileMenu->menuAction(), "FILE"}, {m_newAction, "NEW"},   {m_openAction, "OPEN"},
        {m_saveAction, "SAVE"},             {m_saveAsAction, "SAVEAS"}, {m_exitAction, "EXIT"},
        {m_editMenu->menuAction(), "EDITMENU"}, {m_treeActions.at(0), "CUT"}, {m_treeActions.at(1), "COPY"},
        {m_treeActions.at(2), "PASTE"},     {m_treeActions.at(3), "MOVEUP"}, {m_treeActions.at(4), "MOVEDOWN"},
        {m_helpMenu->menuAction(), "HELP"}, {m_helpAction, "HELP"}, {m_aboutAction, "ABOUT"},
    };
    for (const auto &[action, key] : captions)
        action->setText(text(key));
    m_viewMenu->menuAction()->setText(texts::lookupText(QStringLiteral("VIEW"), QStringLiteral("MENU")));
    m_previewAction->setText(texts::lookupText(QStringLiteral("VIEW"), QStringLiteral("WINDOW")));
    translateUndoActions();
}

void MainDialog::translateUndoActions()
{
    // "Undo %1": the caption with the step's name, or the caption alone while there is no step.
    const auto withStep = [](const QString &caption, const QString &step) {
        return caption.contains(QLatin1String("%1")) ? caption.arg(step).trimmed() : caption;
    };
    const QUndoStack &steps = m_document.undoStack();
    m_undoAction->setText(withStep(text("UNDO"), steps.undoText()));
    m_redoAction->setText(withStep(text("REDO"), steps.redoText()));
}

void MainDialog::selectPage(int index)
{
    m_tabs->setCurrentIndex(index);   // the tab widget shows that page and hides the others
}

QWidget *MainDialog::page(int index) const
{
    return m_tabs->widget(index);
}

void MainDialog::comeForward()
{
    if (isActiveWindow() && !isMinimized()) {
        showMinimized();
        return;
    }
    showNormal();
    raise();
    activateWindow();
}

void MainDialog::showHelp()
{
    app::showHelp();
}

void MainDialog::showAbout()
{
    dialogs::AboutDialog about(this);
    ui::modals().runDialog(about);
}

void MainDialog::keyPressEvent(QKeyEvent *event)
{
    // The window has no default action: Enter never closes it.
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && plain) {
        event->accept();
        return;
    }
    // Escape ends the window at once, but unsaved changes are not dropped without a question.
    if (event->key() == Qt::Key_Escape && plain) {
        event->accept();
        if (!m_commands || m_commands->escapeCommand())
            reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

void MainDialog::closeEvent(QCloseEvent *event)
{
    // The close box runs Exit, which decides whether and how the window ends.
    event->ignore();
    exitTool();
}

void MainDialog::newPackage() { m_commands->newCommand(); }
void MainDialog::openPackage() { m_commands->openCommand(); }
void MainDialog::savePackage() { m_commands->savePackage(); }
void MainDialog::savePackageAs() { m_commands->savePackageAs(); }

void MainDialog::exitTool()
{
    if (!m_commands || m_commands->exitCommand())
        accept();
}

} // namespace app
