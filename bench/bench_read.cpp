// Reads a 100,000-row result with every field accessed, through the
// database layer and through the raw SQLCipher C API on the same file.
#include "data/Connection.h"
#include "data/Recordset.h"
#include "data/SqlText.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>
#include <vector>

namespace {

const char* const kQuery = "SELECT * FROM trnEnquiryRegister";

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? atoi(argv[1]) : 100000;
    const int runs = argc > 2 ? atoi(argv[2]) : 7;
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/bench.MDB");
    const QString key = data::Connection::databasePassword();
    {
        data::Connection db;
        db.createFile(path, key);
        data::Transaction tx(db);
        for (int i = 1; i <= rows; ++i)
            db.execute(QStringLiteral("INSERT INTO trnEnquiryRegister VALUES (%1,#%2/Mar/2024#,'Telephone',"
                                      "'Software','Corporate',%3,%4,'Accounting package for %1 users',"
                                      "'Sent quotation',#%2/Apr/2024#,%5,'First contact %4',%6)")
                           .arg(i)
                           .arg(1 + i % 28)
                           .arg(1 + i % 200)
                           .arg(1 + i % 20000)
                           .arg(i % 100)
                           .arg(i * 10 % 100000 + 0.5));
        tx.commit();
    }

    std::vector<double> layer, raw;
    qint64 sinkLayer = 0, sinkRaw = 0;
    data::Connection db;
    db.openFile(path, key);
    sqlite3* h = db.handle();
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer t;
        t.start();
        data::Recordset rs(QString::fromLatin1(kQuery), db);
        const int n = rs.fieldCount();
        for (; !rs.eof(); rs.moveNext())
            for (int i = 0; i < n; ++i) {
                const QVariant v = rs.field(i);
                sinkLayer += v.typeId();
            }
        rs.close();
        layer.push_back(t.nsecsElapsed() / 1e6);

        t.start();
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(h, kQuery, -1, &stmt, nullptr);
        const int cols = sqlite3_column_count(stmt);
        while (sqlite3_step(stmt) == SQLITE_ROW)
            for (int i = 0; i < cols; ++i) {
                switch (sqlite3_column_type(stmt, i)) {
                case SQLITE_INTEGER:
                    sinkRaw += sqlite3_column_int64(stmt, i);
                    break;
                case SQLITE_FLOAT:
                    sinkRaw += qint64(sqlite3_column_double(stmt, i));
                    break;
                case SQLITE_TEXT:
                    sinkRaw += sqlite3_column_text(stmt, i)[0] + sqlite3_column_bytes(stmt, i);
                    break;
                default:
                    break;
                }
            }
        sqlite3_finalize(stmt);
        raw.push_back(t.nsecsElapsed() / 1e6);
    }
    const double l = median(layer), r = median(raw);
    std::printf("read %d rows x 13 fields   layer %.1f ms   raw %.1f ms   ratio %.2f   (%lld %lld)\n", rows,
                l, r, l / r, static_cast<long long>(sinkLayer % 10), static_cast<long long>(sinkRaw % 10));
    return 0;
}
