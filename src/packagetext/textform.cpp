#include "packagetext.h"

namespace packagetext {

QByteArray writePackageText(const PackageText &)
{
    return {};
}

std::variant<PackageText, FormError> readPackageText(const QByteArray &)
{
    return FormError{0, QStringLiteral("not yet")};
}

QByteArray writeNodeText(const NodeText &)
{
    return {};
}

std::variant<NodeText, FormError> readNodeText(const QByteArray &)
{
    return FormError{0, QStringLiteral("not yet")};
}

} // namespace packagetext
