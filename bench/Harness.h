#pragma once

// The benchmark run: generates (or reuses) a database, opens it on the
// program's connection and times every operation a user waits for, each
// against the same query work done through the engine's C API.

#include "app/ModAdmin.h"
#include "bench/Generator.h"
#include "bench/RawSql.h"
#include "bench/Timing.h"
#include "data/Connection.h"
#include "data/DbError.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <functional>
#include <memory>
#include <vector>

namespace bench {

struct HarnessOptions {
    GeneratorOptions generator;
    int runs = 7;
    // The database file; empty: a new file in a temporary folder.
    QString dbPath;
    // Use an existing file at dbPath instead of generating one.
    bool reuse = false;
    // The program's folder, which holds the report layouts; empty: the
    // database's folder.
    QString programFolder;
    // Writes the database; the program runs the generator in a separate
    // process so that its memory does not count in the peak.
    std::function<GeneratorResult(const QString& path, const GeneratorOptions&)> generate =
        Generate;
};

struct HarnessResult {
    bool generated = false;
    GeneratorResult generation;
    std::vector<Line> lines;
    QStringList missing; // operations whose window is not built yet
    double peakMb = 0;
};

class Harness {
public:
    Harness(const HarnessOptions& o, QTextStream& out) : m_o(o), m_out(out) {}

    HarnessResult run();

    // The session state of a logged-in user.
    static void Login(qint16 exeCode, const QString& role)
    {
        modAdmin::CurrentExeCode = exeCode;
        modAdmin::CurrentRole = role;
    }

    const HarnessOptions& options() const { return m_o; }
    QString path() const { return m_path; }
    QTextStream& out() { return m_out; }
    sqlite3* handle() const { return modAdmin::DbConnection.handle(); }
    int runs() const { return m_o.runs; }

    // Records and prints one line.
    void report(Line line)
    {
        PrintLine(m_out, line);
        m_result.lines.push_back(std::move(line));
    }
    void missing(const QString& what)
    {
        m_result.missing << what;
        m_out << QStringLiteral("%1 (window not built yet)\n").arg(what, -48);
        m_out.flush();
    }

private:
    void prepareDatabase();
    void timeOpen();
    void timeNextNumber();
    void timeWindows();

    HarnessOptions m_o;
    QTextStream& m_out;
    std::unique_ptr<QTemporaryDir> m_tmp;
    QString m_path;
    HarnessResult m_result;
};

inline void Harness::prepareDatabase()
{
    m_path = m_o.dbPath;
    if (m_path.isEmpty()) {
        m_tmp = std::make_unique<QTemporaryDir>();
        m_path = m_tmp->path() + QStringLiteral("/Korvane.MDB");
    }
    if (m_o.reuse && QFileInfo::exists(m_path)) {
        m_out << "reusing " << QDir::toNativeSeparators(m_path) << '\n';
    } else {
        if (QFileInfo::exists(m_path) && !QFile::remove(m_path))
            throw data::DbError(QStringLiteral("Cannot replace %1").arg(m_path));
        const GeneratorOptions& g = m_o.generator;
        m_out << QStringLiteral(
                     "generating %1 sales persons, %2 clients, %3 enquiries over %4 years "
                     "(seed %5) into %6\n")
                     .arg(g.salesPersons)
                     .arg(g.clients)
                     .arg(g.enquiries)
                     .arg(g.years)
                     .arg(g.seed)
                     .arg(QDir::toNativeSeparators(m_path));
        m_out.flush();
        m_result.generation = m_o.generate(m_path, g);
        m_result.generated = true;
        const GeneratorResult& r = m_result.generation;
        m_out << QStringLiteral(
                     "generated in %1 s: %2 executives, %3 clients, %4 services/segments, "
                     "%5 enquiries, %6 status records, %7 targets, %8 to %9, %10 MB\n")
                     .arg(r.seconds, 0, 'f', 1)
                     .arg(r.executives)
                     .arg(r.clients)
                     .arg(r.services)
                     .arg(r.enquiries)
                     .arg(r.statusRecords)
                     .arg(r.targets)
                     .arg(r.firstDay.toString(Qt::ISODate), r.lastDay.toString(Qt::ISODate))
                     .arg(double(QFileInfo(m_path).size()) / (1024 * 1024), 0, 'f', 1);
    }
    modAdmin::DbConnection.openFile(m_path, data::Connection::databasePassword());
    modAdmin::SetProgramFolder(m_o.programFolder.isEmpty()
                                   ? QFileInfo(m_path).absolutePath()
                                   : QDir(m_o.programFolder).absolutePath());
}

// Opening the file, key derivation and the first read included.
inline void Harness::timeOpen()
{
    Line l;
    l.operation = QStringLiteral("open database (key derivation)");
    l.targetMs = 500;
    l.ratioTarget = false; // the key derivation is the cost on both sides
    const QByteArray file = QFile::encodeName(m_path);
    const QByteArray key = data::Connection::databasePassword().toUtf8();
    for (int i = 0; i < m_o.runs; ++i) {
        {
            data::Connection c;
            l.layer.add(
                timeOnce([&] { c.openFile(m_path, data::Connection::databasePassword()); }));
        }
        sqlite3* h = nullptr;
        l.raw.add(timeOnce([&] {
            if (sqlite3_open_v2(file.constData(), &h, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
                throw data::DbError(QStringLiteral("raw open failed"));
            sqlite3_key(h, key.constData(), int(key.size()));
            RawScalar(h, "SELECT count(*) FROM sqlite_master");
        }));
        sqlite3_close_v2(h);
    }
    report(std::move(l));
}

inline void Harness::timeNextNumber()
{
    struct Coded {
        const char* table;
        const char* column;
    };
    const Coded coded[] = {{"mstExecutive", "exeCode"},
                           {"mstClient", "cltCode"},
                           {"mstService", "srNo"},
                           {"trnEnquiryRegister", "enqCode"},
                           {"trnTarget", "trNo"}};
    constexpr int kCalls = 50; // one call takes microseconds: time a batch
    for (const Coded& c : coded) {
        Line l;
        l.operation =
            QStringLiteral("NextNumber %1.%2").arg(QLatin1String(c.table), QLatin1String(c.column));
        l.note = QStringLiteral("per call, batches of %1").arg(kCalls);
        const QString table = QLatin1String(c.table), column = QLatin1String(c.column);
        const QByteArray sql = QByteArray("SELECT MAX(") + c.column + ") FROM " + c.table;
        qint64 sink = 0;
        for (int i = 0; i < m_o.runs; ++i) {
            l.layer.add(timeOnce([&] {
                            for (int k = 0; k < kCalls; ++k)
                                sink += modAdmin::NextNumber(table, column);
                        }) /
                        kCalls);
            l.raw.add(timeOnce([&] {
                          for (int k = 0; k < kCalls; ++k)
                              sink += RawScalar(handle(), sql) + 1;
                      }) /
                      kCalls);
        }
        report(std::move(l));
    }
}

} // namespace bench

#include "bench/WindowOps.h"

namespace bench {

inline void Harness::timeWindows()
{
    RunWindowOperations(*this);
}

inline HarnessResult Harness::run()
{
    prepareDatabase();
    PrintHeader(m_out);
    timeOpen();
    timeNextNumber();
    timeWindows();
    modAdmin::DbConnection.close();
    m_result.peakMb = PeakMemoryMb();
    m_out << QStringLiteral("peak memory (max resident set): %1 MB (target < 200 MB)%2\n")
                 .arg(m_result.peakMb, 0, 'f', 1)
                 .arg(m_result.peakMb > 200 ? QStringLiteral("  MISSED") : QString());
    if (!m_result.missing.isEmpty())
        m_out << "not measured yet: " << m_result.missing.join(QStringLiteral("; ")) << '\n';
    m_out.flush();
    return m_result;
}

} // namespace bench
