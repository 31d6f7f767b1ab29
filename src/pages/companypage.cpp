#include "companypage.h"

#include "texts/texts.h"
#include "document/packagedocument.h"
#include "document/pagecommands.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace pages {
namespace {

QLabel *wrappingLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

CompanyPage::CompanyPage(document::PackageDocument &document, QWidget *parent)
    : QWidget(parent), m_document(document)
{
    auto *group = new QGroupBox(texts::lookupText(QStringLiteral("TEXT"), QStringLiteral("COMPANY_NAME")), this);
    m_nameEdit = new QLineEdit(group);
    m_nameEdit->setObjectName(QStringLiteral("companyName"));

    auto *editRow = new QHBoxLayout;
    editRow->addWidget(m_nameEdit);
    editRow->addWidget(new QLabel(QStringLiteral("*"), group));

    auto *groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(wrappingLabel(texts::lookupText(QStringLiteral("TEXT"), QStringLiteral("TYPECOMPANY")), group));
    groupLayout->addLayout(editRow);
    groupLayout->addWidget(wrappingLabel(texts::lookupText(QStringLiteral("TEXT"), QStringLiteral("REQUIRED")), group));
    groupLayout->addWidget(wrappingLabel(texts::lookupText(QStringLiteral("TEXT"), QStringLiteral("TEXTFOLLOW")), group));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addStretch();

    showCompanyName(m_document.companyName());
    connect(&m_document, &document::PackageDocument::companyNameChanged, this, &CompanyPage::showCompanyName);
    // Only the user's own typing is an edit: the page's filling of the edit is not.
    connect(m_nameEdit, &QLineEdit::textEdited, this, [this](const QString &text) {
        m_document.undoStack().push(new document::SetCompanyNameCommand(m_document, text));
    });
}

void CompanyPage::showCompanyName(const QString &name)
{
    // The user types at most 30 characters. A stored name that is longer is shown whole rather
    // than cut, so that building without an edit never shortens it. The 40-character refusal of
    // the data exchange is not built: typing can never get past 30.
    m_nameEdit->setMaxLength(qMax(typingLimit, int(name.size())));
    if (m_nameEdit->text() != name)   // the user's own keystroke is shown already, cursor and all
        m_nameEdit->setText(name);
}

} // namespace pages
