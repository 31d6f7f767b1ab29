// The anchor of the window benchmark: a bare Qt dialog holding a tab widget of three empty
// pages, shown the way the tool shows its window, ending once it is on screen.
#include "shownprobe.h"

#include <QApplication>
#include <QDialog>
#include <QTabWidget>
#include <QVBoxLayout>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    ShownProbe probe(application);
    QDialog dialog;
    auto *tabs = new QTabWidget(&dialog);
    for (const char *name : {"Company", "Menus", "Personalize"})
        tabs->addTab(new QWidget, QString::fromLatin1(name));
    (new QVBoxLayout(&dialog))->addWidget(tabs);
    dialog.resize(686, 587);
    return dialog.exec();
}
