#pragma once
// Message boxes whose text and caption come from the tool's own text file.
#include "ui/modal.h"

#include <QString>

namespace ui {

// A modal message box owned by parent: text and caption are two lookups.
MessageButton showTextMessage(QWidget *parent, const QString &textSection, const QString &textKey,
                              const QString &captionSection, const QString &captionKey, MessageStyle style);

} // namespace ui
