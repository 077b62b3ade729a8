#include "data/DemoData.h"

#include "data/Connection.h"
#include "data/SqlText.h"

#include <QStringList>
#include <random>

namespace data {

namespace {

QString dateLiteral(const QDate& d)
{
    return QLatin1Char('#') + d.toString(QStringLiteral("dd/MM/yyyy")) + QLatin1Char('#');
}

} // namespace

void AddAdministrator(Connection& db, const QString& name, const QString& login,
                      const QString& password)
{
    db.execute(QStringLiteral("INSERT INTO mstExecutive (exeCode,exeName,exePost,exeUID,"
                              "exePassword,exeDivision,exeRole) VALUES (1,") +
               Quote(name) + QLatin1Char(',') + Quote(QStringLiteral("Administrator")) +
               QLatin1Char(',') + Quote(login) + QLatin1Char(',') + Quote(password) +
               QStringLiteral(",'Head Office','A')"));
}

void FillDemoData(Connection& db, const QDate& today)
{
    std::mt19937 rng(20041);
    auto pick = [&rng](int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(rng)); };

    Transaction tx(db);
    AddAdministrator(db, QStringLiteral("Administrator"), QStringLiteral("admin"),
                     QStringLiteral("admin"));
    struct Person {
        const char* name;
        const char* post;
        const char* uid;
        const char* division;
    };
    const Person persons[] = {{"Anita Rao", "Sales Executive", "anita", "North"},
                              {"Binu Joseph", "Sales Executive", "binu", "South"},
                              {"Chitra Menon", "Area Manager", "chitra", "North"},
                              {"David Mathew", "Sales Executive", "david", "South"}};
    int code = 2;
    for (const Person& p : persons) {
        db.execute(QStringLiteral("INSERT INTO mstExecutive (exeCode,exeName,exePost,exeUID,"
                                  "exePassword,exeDivision,exeRole) VALUES (%1,")
                       .arg(code++) +
                   Quote(QLatin1String(p.name)) + QLatin1Char(',') + Quote(QLatin1String(p.post)) +
                   QLatin1Char(',') + Quote(QLatin1String(p.uid)) + QLatin1Char(',') +
                   Quote(QLatin1String(p.uid)) + QLatin1Char(',') +
                   Quote(QLatin1String(p.division)) + QStringLiteral(",'U')"));
    }

    const QStringList clients{
        "Apex Traders",      "Bharat Textiles",  "Coastal Exports",  "Deccan Motors",
        "Evergreen Foods",   "Fortune Builders", "Global Pharma",    "Harbour Logistics",
        "Indus Steel",       "Jyothi Hospital",  "Kerala Spices",    "Lotus Hotels",
        "Malabar Gold",      "Nila Publications", "Orbit Electronics", "Pioneer Schools",
        "Quest Software",    "Royal Ceramics",   "Sri Lakshmi Traders", "Trinity College",
        "O'Brien & Sons"};
    const QStringList cities{"Kochi", "Chennai", "Bangalore", "Mumbai", "Trivandrum", "Calicut"};
    const QStringList streets{"MG Road", "Church Street", "Market Road", "Park Avenue",
                              "Beach Road", "Station Road"};
    for (int i = 0; i < clients.size(); ++i) {
        db.execute(QStringLiteral("INSERT INTO mstClient (cltCode,cltName,cltPhone,cltMobile,"
                                  "cltAddress,cltCity) VALUES (%1,")
                       .arg(i + 1) +
                   Quote(clients[i]) + QLatin1Char(',') +
                   Quote(QString::number(4842300000LL + 1000 * i + pick(999))) + QLatin1Char(',') +
                   Quote(QString::number(9846000000LL + 7919 * i)) + QLatin1Char(',') +
                   Quote(QStringLiteral("%1, %2").arg(10 + i).arg(streets[pick(streets.size())])) +
                   QLatin1Char(',') + Quote(cities[pick(cities.size())]) + QLatin1Char(')'));
    }

    const QStringList services{"Software", "Hardware", "Networking", "Web Design", "Maintenance"};
    const QStringList segments{"Corporate", "Government", "Education", "Retail"};
    int sr = 1;
    for (const QString& s : services)
        db.execute(QStringLiteral("INSERT INTO mstService (srNo,Name,Type) VALUES (%1,").arg(sr++) +
                   Quote(s) + QStringLiteral(",'SR')"));
    for (const QString& s : segments)
        db.execute(QStringLiteral("INSERT INTO mstService (srNo,Name,Type) VALUES (%1,").arg(sr++) +
                   Quote(s) + QStringLiteral(",'SG')"));

    const QStringList types{"Telephone", "Email", "Walk In", "Reference", "Exhibition"};
    const QStringList requirements{"Accounting package for ten users",
                                   "Office network with twenty nodes",
                                   "Annual maintenance contract", "New company website",
                                   "Laptops for the sales team", "Inventory software"};
    const QStringList actions{"Sent quotation", "Demo arranged", "Called back",
                              "Site visit done", "Brochure mailed"};
    const QStringList reasons{"Client asked for a revised quote", "Decision next month",
                              "Order confirmed", "Budget not approved", "Went with competitor",
                              "Waiting for approval"};
    const QDate first = today.addMonths(-12);
    const int span = int(first.daysTo(today));
    for (int e = 1; e <= 100; ++e) {
        const QDate origin = first.addDays(pick(span + 1));
        const int exe = 2 + pick(4);
        const int client = 1 + pick(int(clients.size()));
        const int percent = 10 * (1 + pick(10));
        const int amount = 5000 * (1 + pick(40));
        QDate follow = origin.addDays(7 + pick(21));
        db.execute(
            QStringLiteral("INSERT INTO trnEnquiryRegister (enqCode,enqDate,enqType,enqService,"
                           "enqSegment,enqExeCode,enqCltCode,enqRequirment,enqAction,"
                           "enqFollowdate,enqPercentage,enqComments,enqAmount) VALUES (%1,")
                .arg(e) +
            dateLiteral(origin) + QLatin1Char(',') + Quote(types[pick(types.size())]) +
            QLatin1Char(',') + Quote(services[pick(services.size())]) + QLatin1Char(',') +
            Quote(segments[pick(segments.size())]) + QStringLiteral(",%1,%2,").arg(exe).arg(client) +
            Quote(requirements[pick(requirements.size())]) + QLatin1Char(',') +
            Quote(actions[pick(actions.size())]) + QLatin1Char(',') + dateLiteral(follow) +
            QStringLiteral(",%1,").arg(percent) + Quote(QStringLiteral("First contact")) +
            QStringLiteral(",%1)").arg(amount));
        // The first status record, then zero to three follow-ups; the last
        // one is current (key F).
        const int followUps = pick(4);
        const int outcome = pick(10); // 0-5 pending, 6-7 closed, 8-9 dropped
        QString status = QStringLiteral("Pending");
        for (int f = 0; f <= followUps; ++f) {
            const bool last = f == followUps;
            if (last && f > 0)
                status = outcome < 6 ? QStringLiteral("Pending")
                         : outcome < 8 ? QStringLiteral("Closed")
                                       : QStringLiteral("Dropped");
            QDate next = follow;
            if (f > 0) {
                next = follow.addDays(10 + pick(30));
                if (next > today.addMonths(2))
                    next = today.addMonths(2);
            }
            db.execute(QStringLiteral("UPDATE trnEnquiryStatus SET enqKey='P' WHERE enqCode=%1")
                           .arg(e));
            db.execute(QStringLiteral("INSERT INTO trnEnquiryStatus (enqCode,enqFollDate,"
                                      "enqAction,enqStatus,enqKey,enqReason,enqPercentage,"
                                      "enqAmount) VALUES (%1,")
                           .arg(e) +
                       dateLiteral(next) + QLatin1Char(',') +
                       Quote(f == 0 ? actions[pick(actions.size())] : QString()) +
                       QLatin1Char(',') + Quote(status) + QStringLiteral(",'F',") +
                       Quote(f == 0 ? QStringLiteral("First contact")
                                    : reasons[pick(reasons.size())]) +
                       QStringLiteral(",%1,%2)").arg(qMin(100, percent + 10 * f)).arg(amount));
            follow = next;
        }
    }

    int trNo = 1;
    for (int exe = 2; exe <= 5; ++exe)
        for (int month = 1; month <= 12; ++month)
            db.execute(QStringLiteral("INSERT INTO trnTarget (trNo,trMonth,exeCode,trTarget,trYear) "
                                      "VALUES (%1,%2,%3,%4,%5)")
                           .arg(trNo++)
                           .arg(month)
                           .arg(exe)
                           .arg(50000 + 10000 * pick(10))
                           .arg(today.year()));
    tx.commit();
}

} // namespace data
