#include "problemlist.h"

#include "texts/texts.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QStyle>
#include <QVBoxLayout>

namespace menutree {

using document::Finding;

namespace {

QString problemText(const char *key)
{
    return texts::lookupText(QStringLiteral("PROBLEMS"), QLatin1String(key));
}

// The same finding in two runs of the check: its texts may differ only when its values did.
bool sameFinding(const Finding &a, const Finding &b)
{
    return a.item == b.item && a.subject == b.subject && a.severity == b.severity && a.key == b.key
        && a.arguments == b.arguments && a.path == b.path;
}

bool sameFindings(const QList<Finding> &a, const QList<Finding> &b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), sameFinding);
}

} // namespace

ProblemList::ProblemList(QWidget *parent)
    : QWidget(parent), m_caption(new QLabel(this)), m_lines(new QListWidget(this))
{
    m_lines->setObjectName(QStringLiteral("problemLines"));
    m_lines->setAccessibleName(problemText("LISTNAME"));
    m_lines->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lines->setTextElideMode(Qt::ElideRight);
    // One line of text each, its icon as small as the tree's.
    const int iconSize = m_lines->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, m_lines);
    m_lines->setIconSize(QSize(iconSize, iconSize));
    m_caption->setBuddy(m_lines);
    // About five lines: the tree keeps the room, the list scrolls.
    m_lines->setMaximumHeight(m_lines->fontMetrics().height() * 6 + 2 * m_lines->frameWidth());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_caption);
    layout->addWidget(m_lines);
    // Return is taken before the list turns it into an activation that goes on to the window.
    m_lines->installEventFilter(this);
    connect(m_lines, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *line) { choose(m_lines->row(line)); });
    hide();
}

void ProblemList::setFindings(const QList<Finding> &findings)
{
    setVisible(!findings.isEmpty());
    if (sameFindings(findings, m_findings))
        return;
    const int currentRow = m_lines->currentRow();
    const Finding current = m_findings.value(currentRow);
    m_findings = findings;

    m_lines->clear();
    // The style's icons come from the icon theme, which is slow to load: none is asked for
    // while there is nothing to show.
    const QIcon warning = findings.isEmpty() ? QIcon() : style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this);
    const QIcon error = findings.isEmpty() ? QIcon() : style()->standardIcon(QStyle::SP_MessageBoxCritical, nullptr, this);
    for (const Finding &finding : findings) {
        auto *line = new QListWidgetItem(finding.severity == Finding::Severity::Error ? error : warning,
                                         finding.text(), m_lines);
        line->setToolTip(finding.fix());
    }
    m_caption->setText(problemText("CAPTION").arg(findings.size()));

    if (currentRow < 0 || findings.isEmpty())
        return;
    const auto same = std::find_if(findings.begin(), findings.end(),
                                   [&current](const Finding &finding) { return sameFinding(finding, current); });
    m_lines->setCurrentRow(same != findings.end() ? int(same - findings.begin()) : qMin(currentRow, int(findings.size()) - 1));
}

bool ProblemList::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_lines && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (plain && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            choose(m_lines->currentRow());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ProblemList::choose(int row)
{
    if (row < 0 || row >= m_findings.size())
        return;
    // A copy: what the choice leads to may run the check again, which replaces the list.
    const Finding finding = m_findings.at(row);
    emit findingChosen(finding);
}

} // namespace menutree
