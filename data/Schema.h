#pragma once

#include <QStringList>

namespace data {

// The one definition of the database: every table, column and index.
// Text columns use the UNOCASE collation (case-insensitive, also outside
// ASCII) that every connection registers; dates are declared DATE and
// stored as yyyy-mm-dd so that they sort and compare as dates.
namespace Schema {
const QStringList& statements();
}

} // namespace data
