#include "packagetext.h"

#include "document/menuitems.h"
#include "document/packagedocument.h"

namespace packagetext {

PackageText capturePackage(const document::PackageDocument &)
{
    return {};
}

NodeText captureNode(const document::CItem &)
{
    return EntryText{};
}

std::unique_ptr<document::CItem> makeNode(const NodeText &)
{
    return nullptr;
}

bool applyPackage(document::PackageDocument &, const PackageText &, QString *)
{
    return false;
}

} // namespace packagetext
