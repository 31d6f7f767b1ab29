#include "aboutdialog.h"

#include "texts/texts.h"
#include "artwork/itemtypeimages.h"
#include "platform/registry.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>

namespace dialogs {

QString aboutBodyText(const QString &body, const QString &version)
{
    QString text = body;
    return text.replace(QLatin1Char('#'), version);
}

QString siblingProductVersion()
{
    // The value is read into 1028 bytes; a longer one fails to read and counts as missing.
    constexpr int maximumLength = 1028 / 2 - 1;
    const std::optional<QString> version = platform::readRegistryString(
        platform::RegistryScope::System, QStringLiteral("SOFTWARE\\Harbel\\DUVA"), QStringLiteral("Version"));
    if (!version || version->size() > maximumLength)
        return QString();
    return *version;
}

AboutDialog::AboutDialog(QWidget *parent)
    : QDialog(parent),
      m_copyright(new QLabel(this)),
      m_body(new QLabel(this))
{
    setWindowTitle(texts::lookupText(QStringLiteral("TEXT"), QStringLiteral("ABOUT")));

    auto *icon = new QLabel(this);
    icon->setPixmap(artwork::svgPixmap(QStringLiteral(":/images/kavo-custom.svg")));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    m_body->setText(aboutBodyText(texts::lookupText(QStringLiteral("TEXT"), QStringLiteral("ABOUTBODYTEXT")),
                                  siblingProductVersion()));
    m_copyright->setText(texts::lookupText(QStringLiteral("TEXT"), QStringLiteral("COPYRIGHTTEXT")));
    for (QLabel *label : {m_body, m_copyright}) {
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setMinimumWidth(300);
    }

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1);
    layout->addWidget(m_body, 0, 1);
    layout->addWidget(m_copyright, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);
    layout->setHorizontalSpacing(16);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString AboutDialog::copyrightText() const
{
    return m_copyright->text();
}

QString AboutDialog::bodyText() const
{
    return m_body->text();
}

} // namespace dialogs
