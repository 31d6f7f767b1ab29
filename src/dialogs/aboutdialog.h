#pragma once
// The About box: the tool's title, a copyright line and a body text that names the installed
// version of the sibling product.
#include <QDialog>

class QLabel;

namespace dialogs {

// The body with every "#" replaced by the version text; an empty version removes the marks.
QString aboutBodyText(const QString &body, const QString &version);

// The installed version of the sibling product, recorded in the registry; empty when it is not.
QString siblingProductVersion();

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget *parent = nullptr);

    QString copyrightText() const;
    QString bodyText() const;

private:
    QLabel *m_copyright;
    QLabel *m_body;
};

} // namespace dialogs
