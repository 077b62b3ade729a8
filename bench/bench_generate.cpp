// Writes a benchmark database: bench_generate FILE [--small] [--seed N]
// [--clients N] [--enquiries N] [--sales-persons N]. The file is keyed with
// the program's password and can be opened by Korvane itself (copy it to
// build/bin/Korvane.MDB).
#include "bench/Generator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser p;
    p.setApplicationDescription(
        QStringLiteral("Writes a large Korvane database for the benchmark."));
    p.addHelpOption();
    p.addPositionalArgument(QStringLiteral("file"), QStringLiteral("The new database file."));
    const QCommandLineOption small(QStringLiteral("small"), QStringLiteral("A tiny database."));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Seed of the generator."),
                                  QStringLiteral("n"));
    const QCommandLineOption clients(QStringLiteral("clients"),
                                     QStringLiteral("Number of clients."), QStringLiteral("n"));
    const QCommandLineOption enquiries(QStringLiteral("enquiries"),
                                       QStringLiteral("Number of enquiries."), QStringLiteral("n"));
    const QCommandLineOption persons(QStringLiteral("sales-persons"),
                                     QStringLiteral("Number of sales persons."),
                                     QStringLiteral("n"));
    p.addOptions({small, seed, clients, enquiries, persons});
    p.process(app);
    if (p.positionalArguments().size() != 1)
        p.showHelp(1);

    bench::GeneratorOptions o =
        p.isSet(small) ? bench::GeneratorOptions::small() : bench::GeneratorOptions();
    if (p.isSet(seed))
        o.seed = p.value(seed).toUInt();
    if (p.isSet(clients))
        o.clients = qMax(1, p.value(clients).toInt());
    if (p.isSet(enquiries))
        o.enquiries = qMax(1, p.value(enquiries).toInt());
    if (p.isSet(persons))
        o.salesPersons = qBound(1, p.value(persons).toInt(), 32000);
    const QString file = p.positionalArguments().constFirst();
    try {
        const bench::GeneratorResult r = bench::Generate(file, o);
        std::printf("%s: %lld executives, %lld clients, %lld services/segments, %lld enquiries, "
                    "%lld status records, %lld targets (%s to %s) in %.1f s\n",
                    qPrintable(file), static_cast<long long>(r.executives),
                    static_cast<long long>(r.clients), static_cast<long long>(r.services),
                    static_cast<long long>(r.enquiries), static_cast<long long>(r.statusRecords),
                    static_cast<long long>(r.targets), qPrintable(r.firstDay.toString(Qt::ISODate)),
                    qPrintable(r.lastDay.toString(Qt::ISODate)), r.seconds);
    } catch (const data::DbError& e) {
        std::fprintf(stderr, "bench_generate: %s\n", qPrintable(e.description()));
        return 1;
    }
    return 0;
}
