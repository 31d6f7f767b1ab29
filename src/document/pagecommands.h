#pragma once
// The edits of the company and general pages, each one step on the document's undo stack.
#include "generalsettings.h"

#include <QUndoCommand>

namespace document {

class PackageDocument;

// The company name as the user types it. Keystrokes in a row make one step; typing back to
// where the step began makes no step at all.
class SetCompanyNameCommand : public QUndoCommand {
public:
    SetCompanyNameCommand(PackageDocument &document, const QString &name);
    void undo() override;
    void redo() override;
    int id() const override { return 1; }
    bool mergeWith(const QUndoCommand *other) override;

private:
    PackageDocument &m_document;
    QString m_before;
    QString m_after;
};

// One change of the general settings (resolution, tray icon, privacy, colour, backgrounds).
class ChangeSettingsCommand : public QUndoCommand {
public:
    ChangeSettingsCommand(PackageDocument &document, const GeneralSettings &after);
    void undo() override;
    void redo() override;

private:
    PackageDocument &m_document;
    GeneralSettings m_before;
    GeneralSettings m_after;
};

} // namespace document
