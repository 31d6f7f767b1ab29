#pragma once
// The company page: the user types the company name that the front-end shows in its title. The
// page is a view of the package document: it shows the document's company name, and each change
// the user types is a step on the document's undo stack.
#include <QWidget>

class QLineEdit;

namespace document { class PackageDocument; }

namespace pages {

class CompanyPage : public QWidget {
    Q_OBJECT
public:
    static constexpr int typingLimit = 30;

    explicit CompanyPage(document::PackageDocument &document, QWidget *parent = nullptr);

private:
    void showCompanyName(const QString &name);

    document::PackageDocument &m_document;
    QLineEdit *m_nameEdit = nullptr;
};

} // namespace pages
