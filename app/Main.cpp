#include "app/ModAdmin.h"

#include "data/DbError.h"

#include <cstdio>

namespace modAdmin {

bool Main()
{
    try {
        DbConnection.open(ConnectionString(), QString(), QString());
    } catch (const data::DbError& e) {
        std::fprintf(stderr, "Korvane: %s\n", qPrintable(e.description()));
        return false;
    }
    return true;
}

} // namespace modAdmin
