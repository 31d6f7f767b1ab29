#include "packagetext.h"

namespace packagetext {

QStringList describeDifferences(const PackageText &, const PackageText &)
{
    return {};
}

} // namespace packagetext
