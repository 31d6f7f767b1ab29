#include "scriptedmodals.h"

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QTest>

namespace {
template <typename T>
T take(std::deque<T> &answers, const char *what)
{
    if (answers.empty()) {
        QTest::qFail((QByteArray("unexpected ") + what).constData(), __FILE__, __LINE__);
        answers.emplace_back();   // answered as if dismissed
    }
    T answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}
} // namespace

ScriptedModals::ScriptedModals() : m_previous(ui::setModals(this)) {}
ScriptedModals::~ScriptedModals() { ui::setModals(m_previous); }

ui::MessageButton ScriptedModals::message(QWidget *, const ui::MessageRequest &request)
{
    messages.append(request);
    if (messageAnswers.empty())
        return ui::MessageButton::Ok;   // an OK-only box needs no script
    return take(messageAnswers, "message box");
}

std::optional<QString> ScriptedModals::openFile(QWidget *, const ui::FileDialogRequest &request)
{
    fileDialogs.append(request);
    return take(fileAnswers, "open dialog");
}

std::optional<QString> ScriptedModals::saveFile(QWidget *, const ui::FileDialogRequest &request)
{
    fileDialogs.append(request);
    return take(fileAnswers, "save dialog");
}

std::optional<QColor> ScriptedModals::chooseColor(QWidget *, const QColor &initial)
{
    ++colorRequests;
    colorsOffered.append(initial);
    return take(colorAnswers, "colour chooser");
}

std::optional<QString> ScriptedModals::chooseFolderOrFile(QWidget *, const ui::PathRequest &request)
{
    pathRequests.append(request);
    return take(pathAnswers, "folder chooser");
}

int ScriptedModals::runDialog(QDialog &dialog)
{
    dialogTitles.append(dialog.windowTitle());
    auto answer = take(dialogAnswers, "dialog");
    return answer ? answer(dialog) : int(QDialog::Rejected);
}

QAction *ScriptedModals::popupMenu(QMenu &menu, const QPoint &)
{
    QStringList texts;
    for (QAction *action : menu.actions())
        if (!action->isSeparator() && action->isEnabled())
            texts.append(action->text());
    menus.append(texts);
    auto answer = take(menuAnswers, "popup menu");
    return answer ? answer(menu) : nullptr;
}

std::function<QAction *(QMenu &)> ScriptedModals::pick(const QString &text)
{
    // "&Delete" is picked as "Delete": a mnemonic's "&" goes, "&&" stands for one "&".
    const auto withoutMnemonic = [](const QString &caption) {
        QString plain;
        for (qsizetype i = 0; i < caption.size(); ++i) {
            if (caption.at(i) == u'&' && i + 1 < caption.size())
                ++i;
            plain += caption.at(i);
        }
        return plain;
    };
    return [text, withoutMnemonic](QMenu &menu) -> QAction * {
        for (QAction *action : menu.actions())
            if (action->text() == text || withoutMnemonic(action->text()) == text)
                return action;
        return nullptr;
    };
}
