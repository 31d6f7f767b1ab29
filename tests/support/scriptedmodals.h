#pragma once
// A Modals for tests: every modal request is recorded, and answered from a script the test
// sets up beforehand ("the user pressed Cancel"). A request with no answer left fails the test.
#include "ui/modal.h"

#include <QList>
#include <deque>
#include <functional>

class ScriptedModals : public ui::Modals {
public:
    ScriptedModals();     // installs itself
    ~ScriptedModals() override;   // restores the one it replaced

    // What a request was, in order.
    QList<ui::MessageRequest> messages;
    QList<ui::FileDialogRequest> fileDialogs;
    int colorRequests = 0;
    QList<QColor> colorsOffered;   // the colour each chooser opened on
    QList<ui::PathRequest> pathRequests;
    QStringList dialogTitles;
    QList<QStringList> menus;   // the enabled action texts of every popup menu shown

    // Answers, taken in order.
    std::deque<ui::MessageButton> messageAnswers;
    std::deque<std::optional<QString>> fileAnswers;
    std::deque<std::optional<QColor>> colorAnswers;
    std::deque<std::optional<QString>> pathAnswers;
    std::deque<std::function<int(QDialog &)>> dialogAnswers;
    std::deque<std::function<QAction *(QMenu &)>> menuAnswers;

    ui::MessageButton message(QWidget *parent, const ui::MessageRequest &request) override;
    std::optional<QString> openFile(QWidget *parent, const ui::FileDialogRequest &request) override;
    std::optional<QString> saveFile(QWidget *parent, const ui::FileDialogRequest &request) override;
    std::optional<QColor> chooseColor(QWidget *parent, const QColor &initial) override;
    std::optional<QString> chooseFolderOrFile(QWidget *parent, const ui::PathRequest &request) override;
    int runDialog(QDialog &dialog) override;
    QAction *popupMenu(QMenu &menu, const QPoint &globalPosition) override;

    // Picks the menu action with this text, with or without its mnemonic (for menuAnswers).
    static std::function<QAction *(QMenu &)> pick(const QString &text);

private:
    ui::Modals *m_previous;
};
