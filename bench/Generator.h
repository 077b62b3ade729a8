#pragma once

// Builds a large database of realistic shape for the benchmark: sales
// persons with logins, clients, services and segments, enquiries spread over
// several years with their follow-up history, and monthly targets. The same
// options and seed always give the same rows.
//
// The file is made with the program's schema and key; the rows are written
// through the engine's own prepared statements in one transaction (a tool,
// not a window), in the form the windows store them: dates as yyyy-mm-dd
// text, numbers as numbers, texts as typed.

#include "data/Connection.h"
#include "data/DbError.h"

#include <QByteArray>
#include <QDate>
#include <QElapsedTimer>
#include <QSet>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <sqlite3.h>
#include <vector>

namespace bench {

struct GeneratorOptions {
    int salesPersons = 200; // besides the one administrator
    int clients = 20000;
    int enquiries = 100000;
    int years = 5;
    QDate lastDay = QDate(2025, 12, 31); // the data ends here
    quint32 seed = 20041;

    static GeneratorOptions small()
    {
        GeneratorOptions o;
        o.salesPersons = 8;
        o.clients = 300;
        o.enquiries = 2000;
        o.years = 2;
        return o;
    }
};

struct GeneratorResult {
    qint64 executives = 0;
    qint64 clients = 0;
    qint64 services = 0;
    qint64 enquiries = 0;
    qint64 statusRecords = 0;
    qint64 targets = 0;
    double seconds = 0;
    QDate firstDay, lastDay;
};

namespace detail {

// A prepared INSERT with positional binding; finalized on destruction.
class Insert {
public:
    Insert(sqlite3* db, const char* sql) : m_db(db)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr) != SQLITE_OK)
            fail();
    }
    ~Insert() { sqlite3_finalize(m_stmt); }
    Insert(const Insert&) = delete;
    Insert& operator=(const Insert&) = delete;

    Insert& num(qint64 v)
    {
        sqlite3_bind_int64(m_stmt, ++m_col, v);
        return *this;
    }
    Insert& text(const QString& v)
    {
        const QByteArray utf8 = v.toUtf8();
        sqlite3_bind_text(m_stmt, ++m_col, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Insert& date(const QDate& d)
    {
        char buf[11];
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year(), d.month(), d.day());
        sqlite3_bind_text(m_stmt, ++m_col, buf, 10, SQLITE_TRANSIENT);
        return *this;
    }
    void run()
    {
        if (sqlite3_step(m_stmt) != SQLITE_DONE)
            fail();
        sqlite3_reset(m_stmt);
        m_col = 0;
    }

private:
    [[noreturn]] void fail() const
    {
        throw data::DbError(
            QStringLiteral("Generator: %1").arg(QString::fromUtf8(sqlite3_errmsg(m_db))));
    }
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
    int m_col = 0;
};

inline QStringList words(const char* text)
{
    return QString::fromLatin1(text).split(QLatin1Char('|'));
}

} // namespace detail

// Writes a new database file at path (which must not exist) and fills it.
inline GeneratorResult Generate(const QString& path, const GeneratorOptions& o)
{
    using detail::Insert;
    QElapsedTimer timer;
    timer.start();
    GeneratorResult r;
    std::mt19937 rng(o.seed);
    auto pick = [&rng](int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(rng)); };
    auto range = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto chance = [&rng](double p) {
        return std::uniform_real_distribution<double>(0, 1)(rng) < p;
    };
    // Skewed choice: low indexes are chosen more often (a few busy clients,
    // common enquiry types).
    auto skewed = [&rng](int n, double power) {
        const double u = std::uniform_real_distribution<double>(0, 1)(rng);
        return std::min(n - 1, int(n * std::pow(u, power)));
    };

    data::Connection db;
    db.createFile(path, data::Connection::databasePassword());
    sqlite3* h = db.handle();
    db.executeNative(QStringLiteral("PRAGMA cache_size=-65536"));
    data::Transaction tx(db);

    const QStringList firstNames = detail::words(
        "Anita|Binu|Chitra|David|Elizabeth|Farhan|Geetha|Hari|Indira|Jacob|Kavitha|Lakshmi|Manoj|"
        "Nisha|Omana|Pradeep|Qadir|Rekha|Suresh|Thomas|Uma|Vinod|Wilson|Xavier|Yamuna|Zacharia|"
        "Ajay|Bindu|Cyril|Deepa|Ebin|Fathima|George|Hema|Imran|Jaya|Kiran|Latha|Mohan|Neethu|"
        "Paul|Radha|Sajan|Tessy|Unni|Varghese|Arun|Beena|Dinesh|Meera");
    const QStringList lastNames = detail::words(
        "Rao|Joseph|Menon|Mathew|Nair|Pillai|Kurian|Varma|Iyer|Thomas|Abraham|Krishnan|Kumar|"
        "Das|George|Philip|Chacko|Raman|Shenoy|Kamath|Panicker|Warrier|Bhat|Reddy|Fernandez");
    const QStringList posts = detail::words(
        "Sales Executive|Senior Sales Executive|Area Manager|Regional Manager|Sales Engineer|"
        "Key Account Manager|Business Dev. Officer|Sales Trainee");
    const QStringList divisions =
        detail::words("North|South|East|West|Central|Corporate Sales|Government Sales|Exports");

    // The administrator, then the sales persons.
    {
        Insert exe(h, "INSERT INTO mstExecutive (exeCode,exeName,exePost,exeUID,exePassword,"
                      "exeDivision,exeRole) VALUES (?,?,?,?,?,?,?)");
        exe.num(1)
            .text(QStringLiteral("Administrator"))
            .text(QStringLiteral("Administrator"))
            .text(QStringLiteral("admin"))
            .text(QStringLiteral("admin"))
            .text(QStringLiteral("Head Office"))
            .text(QStringLiteral("A"))
            .run();
        QSet<QString> names, uids;
        for (int i = 0; i < o.salesPersons; ++i) {
            QString name, uid;
            do {
                const QString first = firstNames[pick(int(firstNames.size()))];
                const QString last = lastNames[pick(int(lastNames.size()))];
                name = first + QLatin1Char(' ') + last;
                if (names.contains(name))
                    name = first + QLatin1Char(' ') + QChar(u'A' + pick(26)) +
                           QStringLiteral(". ") + last;
                uid = first.toLower().left(7) + QString::number(i + 2);
            } while (names.contains(name) || uids.contains(uid));
            names.insert(name);
            uids.insert(uid);
            exe.num(i + 2)
                .text(name)
                .text(posts[skewed(int(posts.size()), 1.6)])
                .text(uid.left(10))
                .text(uid.left(8))
                .text(divisions[pick(int(divisions.size()))])
                .text(QStringLiteral("U"))
                .run();
        }
        r.executives = o.salesPersons + 1;
    }

    // Clients: unique names in no particular order of code, as they came.
    const QStringList clientFirst = detail::words(
        "Apex|Bharat|Coastal|Deccan|Evergreen|Fortune|Global|Harbour|Indus|Jyothi|Kerala|Lotus|"
        "Malabar|Nila|Orbit|Pioneer|Quest|Royal|Sri Lakshmi|Trinity|United|Vasudha|Western|"
        "Zenith|Amrita|Blue Star|Crescent|Diamond|Eastern|Falcon|Golden|Heritage|Imperial|"
        "Jubilee|Kairali|Lakeside|Metro|National|Oriental|Pearl|Rainbow|Sapphire|Triveni|"
        "Universal|Vijaya|Sunrise|Silver Oak|Green Valley|City|Modern|Classic|Prime|Star|"
        "Supreme|Techno|Alpha|Omega|Delta|Nova|Prestige|Regal|Sagar|Ganga|Kaveri|Periyar|"
        "Sahyadri|Vembanad|Anand|Bhagya|Chaitanya|Dhanya|Ganesh|Hindustan|Janata|Krishna|Mahima|"
        "Navya|Pragati|Sreedevi|Tulsi|Vishnu|Yamuna|O'Brien|St. Mary's");
    const QStringList clientTrade = detail::words(
        "Traders|Textiles|Exports|Motors|Foods|Builders|Pharma|Logistics|Steel|Hospital|Spices|"
        "Hotels|Jewellers|Publications|Electronics|Schools|Software|Ceramics|College|Agencies|"
        "Plastics|Chemicals|Furniture|Garments|Rubber|Printers|Travels|Clinic|Bakery|Cashews|"
        "Coir|Marine|Granites|Paints|Tiles|Industries|Enterprises|Automobiles|Distributors|"
        "Constructions|Engineering|Systems|Infotech|Supermarket|Opticals|Diagnostics|Academy|"
        "Bank|Finance|Resorts");
    const QStringList clientSuffix =
        detail::words("|| Ltd| Pvt Ltd| & Co| & Sons| Group| International| India| Associates");
    const QStringList cities = detail::words(
        "Kochi|Chennai|Bangalore|Mumbai|Trivandrum|Calicut|Thrissur|Kollam|Kottayam|Alappuzha|"
        "Palakkad|Kannur|Mangalore|Coimbatore|Madurai|Hyderabad|Pune|Delhi|Kolkata|Mysore");
    const QStringList streets = detail::words(
        "MG Road|Church Street|Market Road|Park Avenue|Beach Road|Station Road|Temple Road|"
        "Hospital Road|Main Road|College Road|Bypass Road|Industrial Estate|Civil Lines|"
        "Gandhi Nagar|Nehru Street");
    {
        Insert clt(h, "INSERT INTO mstClient (cltCode,cltName,cltPhone,cltMobile,cltAddress,"
                      "cltCity) VALUES (?,?,?,?,?,?)");
        QSet<QString> seen;
        for (int i = 1; i <= o.clients; ++i) {
            QString name;
            for (int attempt = 0;; ++attempt) {
                name = clientFirst[pick(int(clientFirst.size()))] + QLatin1Char(' ') +
                       clientTrade[pick(int(clientTrade.size()))] +
                       clientSuffix[pick(int(clientSuffix.size()))];
                if (attempt > 20) // the combinations run short: a branch
                    name = name.left(22) + QStringLiteral(" No. ") + QString::number(i % 1000);
                name = name.left(30).trimmed();
                if (!seen.contains(name.toLower()))
                    break;
            }
            seen.insert(name.toLower());
            // Phone numbers as the client window stores them at creation:
            // the decimal text of the typed number's value.
            const QString phone = QString::number(4840000000LL + qint64(pick(9999999)));
            const QString mobile =
                chance(0.85) ? QString::number(9400000000LL + qint64(pick(599999999))) : QString();
            const QString address =
                QStringLiteral("%1, %2").arg(range(1, 999)).arg(streets[pick(int(streets.size()))]);
            clt.num(i)
                .text(name)
                .text(phone)
                .text(mobile)
                .text(address.left(30))
                .text(cities[skewed(int(cities.size()), 1.8)])
                .run();
        }
        r.clients = o.clients;
    }

    // Services and segments.
    const QStringList services = detail::words(
        "Software|Hardware|Networking|Web Design|Maintenance|Cloud Hosting|Training|Consulting|"
        "Security|Data Backup|Printing|Telephony");
    const QStringList segments = detail::words(
        "Corporate|Government|Education|Retail|Healthcare|Hospitality|Manufacturing|Banking");
    {
        Insert srv(h, "INSERT INTO mstService (srNo,Name,Type) VALUES (?,?,?)");
        int sr = 1;
        for (const QString& s : services)
            srv.num(sr++).text(s).text(QStringLiteral("SR")).run();
        for (const QString& s : segments)
            srv.num(sr++).text(s).text(QStringLiteral("SG")).run();
        r.services = sr - 1;
    }

    // Enquiries: dates spread over the years, codes in the order of
    // registration (so in date order), each with one to six status records.
    const QStringList types = detail::words(
        "Telephone|Email|Walk In|Reference|Exhibition|Website|Tender|Newspaper Ad|Trade Fair|"
        "Cold Call|Repeat Order|Dealer Referral|Existing Client|Seminar|Direct Mail|Social Media|"
        "Partner Lead|Radio Ad|Hoarding|Magazine Ad|Tv Ad|Sms Campaign|Road Show|Conference|"
        "Government Portal|Consultant|Campus Visit|Branch Referral|Call Centre|Chat");
    const QStringList requirements = detail::words(
        "Accounting package for ten users|Office network with twenty nodes|Annual maintenance "
        "contract|New company website|Laptops for the sales team|Inventory software|Payroll "
        "system upgrade|Firewall and antivirus|Backup server|Cctv for two floors|Point of sale "
        "terminals|Staff training on spreadsheets|Email hosting for fifty users|Printers for "
        "all branches|Hospital management software|School administration package|Wireless "
        "network for the campus|Data centre rack and cooling|Mobile app for ordering|Video "
        "conferencing room");
    const QStringList actions = detail::words(
        "Sent quotation|Demo arranged|Called back|Site visit done|Brochure mailed|Met the "
        "purchase manager|Technical proposal sent|Price negotiation|Sample delivered|Waiting "
        "for tender");
    const QStringList comments = detail::words(
        "First contact|Referred by an existing client|Urgent requirement|Budget approved for "
        "this quarter|Compare with last year's offer|Decision maker is the director|Needs "
        "installation by month end|Asked for references|Price sensitive|Repeat customer");
    const QStringList reasons = detail::words(
        "Client asked for a revised quote|Decision next month|Order confirmed|Budget not "
        "approved|Went with competitor|Waiting for approval|Demo went well|Called, no "
        "response|Meeting fixed|Negotiating the price|Requirement postponed|Sent the revised "
        "offer|Purchase order expected|Project cancelled");

    const QDate first = o.lastDay.addYears(-o.years).addDays(1);
    r.firstDay = first;
    r.lastDay = o.lastDay;
    const int span = int(first.daysTo(o.lastDay)) + 1;
    std::vector<int> offsets(size_t(std::max(0, o.enquiries)));
    for (int& d : offsets)
        d = pick(span);
    std::sort(offsets.begin(), offsets.end());
    {
        Insert enq(h, "INSERT INTO trnEnquiryRegister (enqCode,enqDate,enqType,enqService,"
                      "enqSegment,enqExeCode,enqCltCode,enqRequirment,enqAction,enqFollowdate,"
                      "enqPercentage,enqComments,enqAmount) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)");
        Insert st(h, "INSERT INTO trnEnquiryStatus (enqCode,enqFollDate,enqAction,enqStatus,"
                     "enqKey,enqReason,enqPercentage,enqAmount) VALUES (?,?,?,?,?,?,?,?)");
        // Busy clients: a random permutation so that busy ones are spread.
        std::vector<int> clientOrder(size_t(std::max(1, o.clients)));
        for (int i = 0; i < int(clientOrder.size()); ++i)
            clientOrder[size_t(i)] = i + 1;
        std::shuffle(clientOrder.begin(), clientOrder.end(), rng);
        const QDate horizon = o.lastDay.addDays(60);
        for (int e = 1; e <= o.enquiries; ++e) {
            const QDate origin = first.addDays(offsets[size_t(e - 1)]);
            const int age = int(origin.daysTo(o.lastDay));
            const int exe = 2 + skewed(std::max(1, o.salesPersons), 1.3);
            const int client = clientOrder[size_t(skewed(int(clientOrder.size()), 1.7))];
            const int percent = 10 * range(1, 9);
            const int amount = 5000 * range(1, 200);
            const QString action = actions[pick(int(actions.size()))];
            const QString comment = comments[pick(int(comments.size()))];
            const QDate follow = origin.addDays(range(3, 30));
            enq.num(e)
                .date(origin)
                .text(types[skewed(int(types.size()), 2.2)])
                .text(services[skewed(int(services.size()), 1.5)])
                .text(segments[skewed(int(segments.size()), 1.4)])
                .num(exe)
                .num(client)
                .text(requirements[pick(int(requirements.size()))])
                .text(action)
                .date(follow)
                .num(percent)
                .text(comment)
                .num(amount)
                .run();

            // The outcome: young enquiries are mostly still open.
            const double pPending = age < 90 ? 0.6 : age < 365 ? 0.35 : 0.12;
            const bool pending = chance(pPending);
            const int records = pending ? 1 + skewed(6, 2.0) : 2 + skewed(5, 2.5);
            QDate next = follow;
            int pct = percent;
            for (int k = 0; k < records; ++k) {
                QString status = QStringLiteral("Pending");
                QString reason = comment, act = action;
                bool current = k == records - 1;
                if (k > 0) {
                    next = next.addDays(range(7, 45));
                    if (next >= horizon) { // no follow-up is planned further ahead
                        next = horizon;
                        current = true;
                    }
                    act.clear(); // only the first record carries the action
                    reason = reasons[pick(int(reasons.size()))];
                    pct = std::clamp(pct + 10 * range(-2, 3), 0, 100);
                    if (current && !pending)
                        status =
                            chance(0.55) ? QStringLiteral("Closed") : QStringLiteral("Dropped");
                }
                st.num(e)
                    .date(next)
                    .text(act)
                    .text(status)
                    .text(current ? QStringLiteral("F") : QStringLiteral("P"))
                    .text(reason)
                    .num(pct)
                    .num(k == 0 ? amount : std::max(5000, amount + 5000 * range(-2, 2)))
                    .run();
                ++r.statusRecords;
                if (current)
                    break;
            }
        }
        r.enquiries = o.enquiries;
    }

    // A target for every sales person and month of the period.
    {
        Insert tr(
            h, "INSERT INTO trnTarget (trNo,trMonth,exeCode,trTarget,trYear) VALUES (?,?,?,?,?)");
        qint64 no = 0;
        for (QDate m(first.year(), first.month(), 1); m <= o.lastDay; m = m.addMonths(1))
            for (int exe = 2; exe < 2 + o.salesPersons; ++exe)
                tr.num(++no).num(m.month()).num(exe).num(25000 * range(2, 40)).num(m.year()).run();
        r.targets = no;
    }

    tx.commit();
    db.close();
    r.seconds = timer.nsecsElapsed() / 1e9;
    return r;
}

} // namespace bench
