#pragma once
// The problems list below the MENUS tree: one line for each finding of the package check, with
// its severity's icon and its text, and the suggested fix as the line's tooltip. It is shown
// only while the package has a finding. Choosing a line (double click, Return) asks for what the
// finding is about to be shown; the page decides how.
#include "document/packagecheck.h"

#include <QWidget>

class QLabel;
class QListWidget;

namespace menutree {

class ProblemList : public QWidget {
    Q_OBJECT
public:
    explicit ProblemList(QWidget *parent = nullptr);

    // Replaces the lines. The current line stays on its finding when that is still found, else
    // on the same row, so that mending one problem leaves the user where they were.
    void setFindings(const QList<document::Finding> &findings);
    const QList<document::Finding> &findings() const { return m_findings; }
    QListWidget *lines() const { return m_lines; }
    QLabel *caption() const { return m_caption; }

signals:
    void findingChosen(const document::Finding &finding);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void choose(int row);

    QLabel *m_caption;
    QListWidget *m_lines;
    QList<document::Finding> m_findings;
};

} // namespace menutree
