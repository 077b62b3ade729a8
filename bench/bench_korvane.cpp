// The benchmark: builds a large database and times what a user waits for,
// each operation against the same query work through the engine's C API.
//
//   bench_korvane [--small] [--runs N] [--seed N] [--db FILE] [--reuse]
//                 [--clients N] [--enquiries N] [--sales-persons N]
//                 [--program-folder DIR]
#include "bench/Harness.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QProcess>
#include <QTextStream>
#include <cstdio>

namespace {

QtMessageHandler previousHandler = nullptr;

// The offscreen platform's note about size hints says nothing about the
// program; every other message passes.
void dropPlatformNoise(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (text.contains(QLatin1String("propagateSizeHints")))
        return;
    if (previousHandler)
        previousHandler(type, context, text);
    else
        std::fprintf(stderr, "%s\n", qPrintable(text));
}

// The generator in a process of its own (this program with
// --generate-only): its memory does not count in the benchmark's peak.
bench::GeneratorResult generateInChild(const QString& path, const bench::GeneratorOptions& g)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--generate-only"), path, QStringLiteral("--seed"),
                 QString::number(g.seed), QStringLiteral("--clients"), QString::number(g.clients),
                 QStringLiteral("--enquiries"), QString::number(g.enquiries),
                 QStringLiteral("--sales-persons"), QString::number(g.salesPersons),
                 QStringLiteral("--years"), QString::number(g.years), QStringLiteral("--last-day"),
                 g.lastDay.toString(Qt::ISODate)});
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit ||
        child.exitCode() != 0)
        throw data::DbError(
            QStringLiteral("The generator failed (exit code %1).").arg(child.exitCode()));
    const QStringList f =
        QString::fromLatin1(child.readAllStandardOutput()).trimmed().split(QLatin1Char(' '));
    if (f.size() != 9)
        throw data::DbError(QStringLiteral("The generator gave no result."));
    bench::GeneratorResult r;
    r.executives = f[0].toLongLong();
    r.clients = f[1].toLongLong();
    r.services = f[2].toLongLong();
    r.enquiries = f[3].toLongLong();
    r.statusRecords = f[4].toLongLong();
    r.targets = f[5].toLongLong();
    r.seconds = f[6].toDouble();
    r.firstDay = QDate::fromString(f[7], Qt::ISODate);
    r.lastDay = QDate::fromString(f[8], Qt::ISODate);
    return r;
}

} // namespace

int main(int argc, char* argv[])
{
    // Headless: the windows are built and driven without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    previousHandler = qInstallMessageHandler(dropPlatformNoise);
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("Times the operations a Korvane user waits for."));
    p.addHelpOption();
    const QCommandLineOption small(QStringLiteral("small"),
                                   QStringLiteral("A tiny database (seconds)."));
    const QCommandLineOption runs(QStringLiteral("runs"),
                                  QStringLiteral("Runs per operation (default 7)."),
                                  QStringLiteral("n"), QStringLiteral("7"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Seed of the generator."),
                                  QStringLiteral("n"));
    const QCommandLineOption db(QStringLiteral("db"),
                                QStringLiteral("Database file to write (kept afterwards)."),
                                QStringLiteral("file"));
    const QCommandLineOption reuse(QStringLiteral("reuse"),
                                   QStringLiteral("Use the file given with --db if it exists."));
    const QCommandLineOption clients(QStringLiteral("clients"),
                                     QStringLiteral("Number of clients."), QStringLiteral("n"));
    const QCommandLineOption enquiries(QStringLiteral("enquiries"),
                                       QStringLiteral("Number of enquiries."), QStringLiteral("n"));
    const QCommandLineOption folder(
        QStringLiteral("program-folder"),
        QStringLiteral("Folder with the report layouts (default ../bin)."), QStringLiteral("dir"));
    const QCommandLineOption persons(QStringLiteral("sales-persons"),
                                     QStringLiteral("Number of sales persons."),
                                     QStringLiteral("n"));
    // Used by the benchmark itself to run the generator in a child process.
    QCommandLineOption generateOnly(QStringLiteral("generate-only"), QStringLiteral("Internal."),
                                    QStringLiteral("file"));
    generateOnly.setFlags(QCommandLineOption::HiddenFromHelp);
    QCommandLineOption years(QStringLiteral("years"), QStringLiteral("Internal."),
                             QStringLiteral("n"));
    years.setFlags(QCommandLineOption::HiddenFromHelp);
    QCommandLineOption lastDay(QStringLiteral("last-day"), QStringLiteral("Internal."),
                               QStringLiteral("date"));
    lastDay.setFlags(QCommandLineOption::HiddenFromHelp);
    p.addOptions({small, runs, seed, db, reuse, clients, enquiries, persons, folder, generateOnly,
                  years, lastDay});
    p.process(app);

    bench::HarnessOptions o;
    if (p.isSet(small)) {
        o.generator = bench::GeneratorOptions::small();
        o.runs = 3;
    }
    if (p.isSet(runs))
        o.runs = qMax(1, p.value(runs).toInt());
    if (p.isSet(seed))
        o.generator.seed = p.value(seed).toUInt();
    if (p.isSet(clients))
        o.generator.clients = qMax(1, p.value(clients).toInt());
    if (p.isSet(enquiries))
        o.generator.enquiries = qMax(1, p.value(enquiries).toInt());
    if (p.isSet(persons))
        o.generator.salesPersons = qBound(1, p.value(persons).toInt(), 32000);
    if (p.isSet(years))
        o.generator.years = qMax(1, p.value(years).toInt());
    if (p.isSet(lastDay))
        o.generator.lastDay = QDate::fromString(p.value(lastDay), Qt::ISODate);
    if (p.isSet(generateOnly)) {
        try {
            const bench::GeneratorResult r = bench::Generate(p.value(generateOnly), o.generator);
            std::printf("%lld %lld %lld %lld %lld %lld %.3f %s %s\n",
                        static_cast<long long>(r.executives), static_cast<long long>(r.clients),
                        static_cast<long long>(r.services), static_cast<long long>(r.enquiries),
                        static_cast<long long>(r.statusRecords), static_cast<long long>(r.targets),
                        r.seconds, qPrintable(r.firstDay.toString(Qt::ISODate)),
                        qPrintable(r.lastDay.toString(Qt::ISODate)));
            return 0;
        } catch (const data::DbError& e) {
            std::fprintf(stderr, "bench_korvane: %s\n", qPrintable(e.description()));
            return 1;
        }
    }
    o.generate = generateInChild;
    o.dbPath = p.value(db);
    o.reuse = p.isSet(reuse);
    // The program and its report layouts are built into ../bin.
    o.programFolder = p.isSet(folder)
                          ? p.value(folder)
                          : QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/../bin"))
                                .absolutePath();

    QTextStream out(stdout);
    try {
        bench::Harness(o, out).run();
    } catch (const data::DbError& e) {
        out.flush();
        std::fprintf(stderr, "bench_korvane: %s\n", qPrintable(e.description()));
        return 1;
    }
    return 0;
}
