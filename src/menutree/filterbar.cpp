#include "filterbar.h"

#include "texts/texts.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>

namespace menutree {

namespace {

QString filterText(const char *key)
{
    return texts::lookupText(QStringLiteral("FILTER"), QLatin1String(key));
}

} // namespace

FilterBar::FilterBar(QWidget *parent) : QWidget(parent), m_field(new QLineEdit(this)), m_count(new QLabel(this))
{
    m_field->setObjectName(QStringLiteral("menuFilter"));
    m_field->setPlaceholderText(filterText("PLACEHOLDER"));
    m_field->setAccessibleName(filterText("ACCESSIBLENAME"));
    m_field->installEventFilter(this);
    m_count->setObjectName(QStringLiteral("menuFilterCount"));
    m_count->hide();
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_field, 1);
    layout->addWidget(m_count);
    // The style's clear button comes from the icon theme, whose lookup takes longer than the rest
    // of the page: it is asked for when the field is first typed in, not when the window starts.
    connect(m_field, &QLineEdit::textChanged, this, [this] { m_field->setClearButtonEnabled(true); });
    connect(m_field, &QLineEdit::textChanged, this, &FilterBar::textChanged);
    connect(m_field, &QLineEdit::returnPressed, this, &FilterBar::returnPressed);
}

void FilterBar::showCount(int matches, int entries)
{
    const QLocale locale;
    const QString format = filterText("COUNT");   // none when the text file lacks it
    m_count->setText(format.contains(QLatin1String("%1")) ? format.arg(locale.toString(matches), locale.toString(entries))
                                                          : QString());
    m_count->show();
}

void FilterBar::hideCount()
{
    m_count->hide();
}

bool FilterBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_field && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            if (m_field->text().isEmpty())
                emit leaveRequested();
            else
                m_field->clear();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace menutree
