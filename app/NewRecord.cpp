#include "app/NewRecord.h"

#include "app/ModAdmin.h"
#include "data/DbError.h"

namespace modAdmin {

qint32 SaveWithNextNumber(const QString& table, const QString& column,
                          const std::function<void(qint32 code)>& write)
{
    constexpr int Attempts = 3;
    for (int attempt = 1;; ++attempt) {
        data::Transaction tx(DbConnection);
        const qint32 code = NextNumber(table, column);
        try {
            write(code);
        } catch (const data::DbError& e) {
            if (!e.isDuplicateKey() || attempt == Attempts)
                throw;
            continue; // rolled back by tx; the next attempt takes a fresh code
        }
        tx.commit();
        return code;
    }
}

} // namespace modAdmin
