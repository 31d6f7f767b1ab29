#include "textmessage.h"

#include "texts/texts.h"

namespace ui {

MessageButton showTextMessage(QWidget *parent, const QString &textSection, const QString &textKey,
                              const QString &captionSection, const QString &captionKey, MessageStyle style)
{
    return modals().message(
        parent, {texts::lookupText(textSection, textKey), texts::lookupText(captionSection, captionKey), style});
}

} // namespace ui
