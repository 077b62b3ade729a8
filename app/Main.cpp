#include "app/ModAdmin.h"

#include "data/DbError.h"
#include "screens/session/frmLogin.h"
#include "screens/session/frmSplash.h"
#include "ui/MsgBox.h"

#include <QGuiApplication>
#include <chrono>
#include <cstdio>
#include <thread>

namespace modAdmin {

bool Main()
{
    try {
        DbConnection.open(ConnectionString(), QString(), QString());
    } catch (const data::DbError& e) {
        // Printed too, for a start without a desktop; on a platform without
        // a screen nobody could answer the box.
        std::fprintf(stderr, "Korvane: %s\n", e.description().toUtf8().constData());
        const QString platform = QGuiApplication::platformName();
        if (platform != QLatin1String("offscreen") && platform != QLatin1String("minimal"))
            MsgBox::information(nullptr, e.description());
        return false;
    }

    {
        auto* splash = new frmSplash;
        splash->show();
        splash->repaint();
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        splash->close();
    }

    auto* login = new frmLogin;
    login->show();
    return true;
}

} // namespace modAdmin
