#include "pagecommands.h"

#include "packagedocument.h"

#include "texts/texts.h"

namespace document {
namespace {

QString stepName(const char *key)
{
    return texts::lookupText(QStringLiteral("TEXT"), QLatin1String(key));
}

} // namespace

SetCompanyNameCommand::SetCompanyNameCommand(PackageDocument &document, const QString &name)
    : QUndoCommand(stepName("STEPCOMPANY")), m_document(document), m_before(document.companyName()), m_after(name)
{
}

void SetCompanyNameCommand::undo()
{
    m_document.setCompanyName(m_before);
}

void SetCompanyNameCommand::redo()
{
    m_document.setCompanyName(m_after);
}

bool SetCompanyNameCommand::mergeWith(const QUndoCommand *other)
{
    m_after = static_cast<const SetCompanyNameCommand *>(other)->m_after;
    setObsolete(m_after == m_before);
    return true;
}

ChangeSettingsCommand::ChangeSettingsCommand(PackageDocument &document, const GeneralSettings &after)
    : QUndoCommand(stepName("STEPSETTINGS")), m_document(document), m_before(document.settings()), m_after(after)
{
}

void ChangeSettingsCommand::undo()
{
    m_document.setSettings(m_before);
}

void ChangeSettingsCommand::redo()
{
    m_document.setSettings(m_after);
}

} // namespace document
