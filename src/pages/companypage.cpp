#include "companypage.h"

#include "document/companytitle.h"
#include "config/texts.h"
#include "packages/packagestate.h"
#include "platform/profile.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace pages {
namespace {

const QString titleSection = QStringLiteral("Access Text");
const QString titleKey = QStringLiteral("TITLE");

QLabel *wrappingLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

CompanyPage::CompanyPage(packages::PackageState &state, QWidget *parent)
    : QWidget(parent), m_state(state)
{
    auto *group = new QGroupBox(config::lookupText(QStringLiteral("TEXT"), QStringLiteral("COMPANY_NAME")), this);
    m_nameEdit = new QLineEdit(group);
    m_nameEdit->setObjectName(QStringLiteral("companyName"));

    auto *editRow = new QHBoxLayout;
    editRow->addWidget(m_nameEdit);
    editRow->addWidget(new QLabel(QStringLiteral("*"), group));

    auto *groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(wrappingLabel(config::lookupText(QStringLiteral("TEXT"), QStringLiteral("TYPECOMPANY")), group));
    groupLayout->addLayout(editRow);
    groupLayout->addWidget(wrappingLabel(config::lookupText(QStringLiteral("TEXT"), QStringLiteral("REQUIRED")), group));
    groupLayout->addWidget(wrappingLabel(config::lookupText(QStringLiteral("TEXT"), QStringLiteral("TEXTFOLLOW")), group));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addStretch();

    connect(m_nameEdit, &QLineEdit::textChanged, this, &CompanyPage::takeEditedName);

    loadCompanyName();
    showCompanyName();
    m_loading = false;
}

void CompanyPage::loadCompanyName()
{
    const QString title = platform::readProfileString(m_state.textFilePath, titleSection, titleKey);
    m_customizedWord = config::lookupText(QStringLiteral("TEXT"), QStringLiteral("CUSTOMIZED"));
    const document::CompanyTitle parts = document::splitCompanyTitle(title, m_customizedWord);
    m_titlePrefix = parts.prefix;
    m_companyName = parts.name;
}

void CompanyPage::showCompanyName()
{
    // The user types at most 30 characters. A stored name that is longer is shown whole rather
    // than cut, so that building without an edit never shortens it. The 40-character refusal of
    // the data exchange is not built: typing can never get past 30.
    const bool wasLoading = m_loading;
    m_loading = true;
    m_nameEdit->setMaxLength(qMax(typingLimit, int(m_companyName.size())));
    m_nameEdit->setText(m_companyName);
    m_loading = wasLoading;
}

void CompanyPage::clearCompanyName()
{
    m_companyName.clear();
    showCompanyName();
}

void CompanyPage::reloadCompanyName()
{
    loadCompanyName();
    showCompanyName();
}

bool CompanyPage::saveCompanyName()
{
    const QString title = document::joinCompanyTitle(m_titlePrefix, m_companyName, m_customizedWord);
    return platform::writeProfileString(m_state.textFilePath, titleSection, titleKey, title);
}

void CompanyPage::takeEditedName(const QString &text)
{
    m_companyName = text;
    if (!m_loading)
        m_state.markModified();
}

} // namespace pages
